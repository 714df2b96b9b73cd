#!/bin/sh
# The Windows game as a player gets it: the zip unpacked, vantrel.exe run
# under Wine on a virtual X server, started from another directory. It needs
# only Windows' own DLLs; the full-screen question is answered; the window
# shows the title as the Linux build draws it headless, and the floors after
# SPACE; its sound is silent on the title and not once play starts; ESC ends
# it with status 27. The game it recorded replays on Linux to
# the line it printed, and the level bot's demo of all six levels recorded on
# Linux replays on Windows to its line, named the Windows way (drive letter,
# backslashes, letters beyond ASCII, a path longer than 260 characters).
# A level file
# replaced on disk is loaded again, and the level checker reports in the
# console with the Linux exit status. A high score is kept in %APPDATA% with
# its game, which replays on Linux, and so is the sound switched off. Names Windows would write as another
# file are refused; started with a console of its own, the game shows what
# it would have said there in a box.
#
# The Wine prefix is made once per machine, in $VANTREL_WINE_PREFIX
# (/var/cache/vantrel-wine/prefix unless set), and kept. Wine's own messages
# stay in files, shown only when the test fails.
#
#   windows_test.sh ZIP GAME RECORD_DEMO SCREENSHOT X11_SNAPSHOT PNG_PIXELS   (from the source tree)
set -u
export WINEPREFIX="${VANTREL_WINE_PREFIX:-/var/cache/vantrel-wine/prefix}" WINEDEBUG=-all
# One run at a time uses the prefix (Wine runs one server per prefix, which
# the end of a run stops): a second run, another checkout's say, waits for
# the first. The lock is held by flock itself (-o: not by Wine's processes,
# its server among them, which may outlive the run for a moment).
if [ -z "${VANTREL_WINE_LOCKED:-}" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")" || { echo "windows: cannot make $(dirname "$WINEPREFIX")" >&2; exit 1; }
    VANTREL_WINE_LOCKED=1 exec flock -o -w 280 "$WINEPREFIX.lock" "$0" "$@"
fi
zip="$1" game="$2" record="$3" screenshot="$4" snapshot="$5" pixels="$6"
out=$(mktemp -d)
. "$(dirname "$0")/xvfb.sh"
begin_x_test windows
command -v wine >/dev/null || fail "wine is missing"
[ -f "$zip" ] || fail "there is no $zip (make windows makes it)"

# Wine turns the Linux command line and file names into Windows' in the
# locale's character set: UTF-8, as a player's desktop has it, whatever this
# shell was given (a bare system has no locale set at all).
export LC_ALL=C.UTF-8
# No runtime for .NET or web pages: the game needs neither, and Wine would
# offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
end_wine_test() {
    [ -n "${recorder:-}" ] && kill "$recorder" 2>/dev/null
    wineserver -k 2>/dev/null
    end_x_test
}
trap end_wine_test EXIT

# The prefix, made by the first run on the machine.
if [ ! -f "$WINEPREFIX/.made" ]; then
    rm -rf "$WINEPREFIX"
    wineboot --init >"$out/wineboot.err" 2>&1 && wineserver -w && touch "$WINEPREFIX/.made"
fi
[ -f "$WINEPREFIX/.made" ] || fail "the Wine prefix $WINEPREFIX could not be made"
# Wine sets %APPDATA% itself: the game plays with the default settings
# and no scores only when the prefix holds none of its own.
appdata=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)
rm -rf "$appdata/vantrel"

# As a player unpacks it.
mkdir "$out/unpacked"
(cd "$out/unpacked" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
folder=$(basename "$zip" -windows-x64.zip)
exe="$out/unpacked/$folder/vantrel.exe"
for f in vantrel.exe README.txt data/level0.lvl.txt data/vantreltitle.jpg licences/SDL2.txt; do
    [ -f "$out/unpacked/$folder/$f" ] || fail "the zip has no $folder/$f"
done
# Nothing but Windows' own DLLs, so nothing else needs to be installed.
windows_dlls='kernel32|user32|gdi32|winmm|imm32|ole32|oleaut32|version|setupapi|shell32|advapi32|msvcrt|opengl32|glu32|comctl32|cfgmgr32'
x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print tolower($3) }' >"$out/dlls.txt"
extra=$(sed 's/\.dll$//' "$out/dlls.txt" | grep -v -x -E "$windows_dlls" | tr '\n' ' ')
[ -z "$extra" ] || fail "vantrel.exe needs DLLs Windows does not have: $extra"

# The level bot plays all six levels on Linux meanwhile, so that every
# level's numbers, as each build reads them, count in the replay's line.
"$record" "$out/bot.demo" 15,18,16,17,19,16 >"$out/bot.line" 2>"$out/record.log" &
recorder=$!

# Windows names: "Z:" is the Linux root under Wine.
windows_name() { printf 'Z:%s' "$1" | tr / '\\'; }
crlf_line() { tr -d '\r' <"$1" | tail -n 1; }

# Played: from another directory, the question answered with No (Escape).
mkdir "$out/elsewhere"
started=$(date +%s%N)
# The sound goes to SDL's disk driver, so that what the game mixes can be
# looked at: silent on the title, the effects once play starts.
(cd "$out/elsewhere" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$(windows_name "$out/sound.raw")" \
    exec wine "$exe" --record "$(windows_name "$out/windows.demo")") >"$out/play.out" 2>"$out/play.err" &
game_pid=$!
box=$(find_window "Start FullScreen?") || fail "the full-screen question did not appear"
# Wine shows a box a moment before it takes keys: the key again while it
# is still there.
box_shown() { xwininfo -id "$box" 2>/dev/null | grep -q IsViewable; }
answer_box() {  # KEY WHAT
    # The box is in the window tree before it is mapped: wait until it is
    # shown, or the key would never be sent and the game would wait on it.
    within 10 box_shown || fail "$2 was never shown"
    tries=0
    while box_shown; do
        tries=$((tries + 1)); [ $tries -gt 10 ] && fail "$2 did not take $1"
        xdotool windowfocus --sync "$box" 2>/dev/null
        press "$1"
        i=0
        while box_shown && [ $i -lt 20 ]; do sleep 0.1; i=$((i + 1)); done
    done
}
answer_box Escape "the question"
win=$(find_window "Vantrel Remake") || fail "the game window did not appear"
SDL_VIDEODRIVER=offscreen "$screenshot" "$out/expected.png" 3 || fail "the headless renderer failed"
"$pixels" "$out/expected.png" $title_points >"$out/expected.txt"
title_shown() {
    "$snapshot" "$win" "$out/title.png" $title_points >"$out/shown.txt" 2>/dev/null &&
        colours_close "$out/shown.txt" "$out/expected.txt"
}
eventually title_shown ||
    fail "the window does not show the title: $(paste -d'|' "$out/shown.txt" "$out/expected.txt" | tr '\n' ' ')"
title_ms=$((($(date +%s%N) - started) / 1000000))
xdotool windowfocus --sync "$win" 2>/dev/null
before=$(wc -c <"$out/sound.raw")
press space
eventually floors_shown "$win" 0 640 480 16 || fail "only $yellow of 22 floor samples are yellow after SPACE"
press Right 0.5
sleep 0.5
quit_with_escape || fail "the game did not end after ESC"
[ "$status" -eq 27 ] || fail "exit status $status, expected 27"
cmp -s -n "$before" "$out/sound.raw" /dev/zero || fail "the title was not silent ($before bytes)"
cmp -s "$out/sound.raw" /dev/zero && fail "play started without a sound"
played=$(crlf_line "$out/play.out")
echo "$played" | grep -q '^frames [1-9][0-9]*, level 0, ' || fail "the recording ended with '$played'"
[ ! -e "$out/windows.demo.part" ] || fail "the recording was not put in place as windows.demo"
replayed=$(SDL_VIDEODRIVER=offscreen "$game" --no-vsync --play-demo "$out/windows.demo" 2>"$out/linux.err") ||
    fail "Linux could not replay the game played on Windows"
[ "$replayed" = "$played" ] || fail "Windows recorded '$played', Linux replayed '$replayed'"

# The checker, in the console it was started from, with the Linux status.
printf '2\n92 40 zero\n' >"$out/broken.lvl.txt"
level0=$(windows_name "$PWD/data/level0.lvl.txt")
(cd "$out/elsewhere" && exec wine "$exe" --check-level "$level0" \
    "$(windows_name "$out/broken.lvl.txt")") >"$out/check.out" 2>&1
status=$?
tr -d '\r' <"$out/check.out" >"$out/check.txt"
[ "$status" -eq 1 ] || fail "--check-level ended with status $status, expected 1"
grep -q 'level0.lvl.txt: clean$' "$out/check.txt" && grep -q "broken.lvl.txt:2: token 4: .*'zero' is not a number" \
    "$out/check.txt" || fail "--check-level said: $(cat "$out/check.txt")"

# Names Windows would write as another file, or as a device, are refused
# before anything is written.
keys=$(windows_name "$PWD/tests/golden/0.3.0/keys.demo")
(cd "$out/elsewhere" && exec wine "$exe" --play-demo "$keys" --screenshot-at 5:AUX.png \
    --screenshot-at 5:shot.png.) >"$out/names.out" 2>"$out/names.err"
status=$?
[ "$status" -eq 1 ] && grep -q 'cannot write the screenshot AUX.png: Windows keeps that name for a device' \
    "$out/names.err" && grep -q "cannot write the screenshot shot.png.: Windows drops a name's last dots" \
    "$out/names.err" || fail "device names and a trailing dot were not refused (status $status)"
[ -z "$(ls "$out/elsewhere")" ] || fail "a refused screenshot left $(ls "$out/elsewhere")"

# Given a console of its own (as from Explorer; here a terminal of its own),
# the game lets it go, and what it would have said there is shown in a box.
script -qec "wine '$exe' --play-demo missing.demo" /dev/null >"$out/box.out" 2>&1 &
game_pid=$!
box=$(find_window "Vantrel Remake") || fail "no box told why the demo cannot be replayed"
answer_box Return "the box"
wait "$game_pid"
status=$?
game_pid=""
[ "$status" -eq 1 ] || fail "the demo that cannot be replayed ended with status $status behind its box"

# A level file of its own, replaced on disk during play as editors save
# (a new file renamed over the old one): loaded again.
cp data/level1.lvl.txt "$out/own.lvl.txt"
(cd "$out/elsewhere" && SDL_AUDIODRIVER=dummy exec wine "$exe" --window --quit-after 400 \
    --level-file "$(windows_name "$out/own.lvl.txt")") >/dev/null 2>"$out/own.err" &
game_pid=$!
find_window "Vantrel Remake" >/dev/null || fail "the window for the level file did not appear"
sleep 1.5
cp data/level2.lvl.txt "$out/own.new" && mv "$out/own.new" "$out/own.lvl.txt"
wait "$game_pid"
game_pid=""
grep -q 'own.lvl.txt changed: loaded again' "$out/own.err" || fail "the replaced level file was not loaded again"

# What a player keeps, in %APPDATA%\\vantrel: a game over on a deadly level
# of the player's own asks for the name, which is kept with the game, listed
# by --scores, and the game replays on Linux; M on the title switches the
# sound off, and the settings say so.
printf '1\n0 0 0 -16 190 0 16 data\\enemy1.tga\n0\n1\n0 0 0 12 12 0 data\\coin.tga 0 0 %%s 0 -1 50\n' \
    >"$out/deadly.lvl.txt"
(cd "$out/elsewhere" && SDL_AUDIODRIVER=dummy exec wine "$exe" --window \
    --level-file "$(windows_name "$out/deadly.lvl.txt")") >/dev/null 2>"$out/scores.err" &
game_pid=$!
win=$(find_window "Vantrel Remake") || fail "the window for the scores did not appear"
eventually title_shown || fail "the title for the scores did not show"
xdotool windowfocus --sync "$win" 2>/dev/null
press space
eventually floors_shown "$win" 0 640 480 16 || fail "the deadly level did not start"
within 40 picture_dark "$win" || fail "no name was asked after the game over"
for k in a b c Return; do press "$k"; done
eventually title_shown || fail "the title did not come back after the name"
press m
sleep 0.5
quit_with_escape || fail "the game that kept a score did not end after ESC"
grep -q '^sound = off' "$appdata/vantrel/settings.ini" || fail "the settings do not keep the sound off"
grep -q '^entry ABC 50 0 ' "$appdata/vantrel/scores.txt" || fail "ABC's score was not kept in %APPDATA%"
demo=$(sed -n 's/^entry ABC 50 0 [^ ]* games\/\([^ ]*\) .*/\1/p' "$appdata/vantrel/scores.txt")
(cd "$out/elsewhere" && exec wine "$exe" --scores) >"$out/scores.out" 2>>"$out/scores.err"
tr -d '\r' <"$out/scores.out" | grep -q "ABC  *50  level 0 .*games.$demo\$" ||
    fail "--scores printed: $(cat "$out/scores.out")"
SDL_VIDEODRIVER=offscreen "$game" --no-vsync --play-demo "$appdata/vantrel/games/$demo" >/dev/null \
    2>"$out/kept-linux.err" || fail "Linux could not replay the game kept on Windows"

# The level bot's demo, recorded on Linux, replayed from a long name.
wait "$recorder" || fail "the recording failed"
recorded=$(cat "$out/bot.line")
deep="$out/Zoë ✓ spiele"
while [ ${#deep} -lt 300 ]; do deep="$deep/verzeichnis-$(printf '%s' "$deep" | wc -c)"; done
mkdir -p "$deep" && mv "$out/bot.demo" "$deep/bot ü.demo" || fail "cannot make the long directory"
(cd "$out/elsewhere" && exec wine "$exe" --no-vsync --play-demo "$(windows_name "$deep/bot ü.demo")") \
    >"$out/replay.out" 2>"$out/replay.err" || fail "Windows could not replay the Linux demo"
replayed=$(crlf_line "$out/replay.out")
[ "$replayed" = "$recorded" ] || fail "Linux recorded '$recorded', Windows replayed '$replayed'"

# Every release's golden demos replay on Windows to the lines they were
# recorded with.
for demo in tests/golden/*/*.demo; do
    path=$(windows_name "$(pwd)/$demo")
    (cd "$out/elsewhere" && exec wine "$exe" --no-vsync --play-demo "$path") \
        >"$out/golden.out" 2>"$out/golden.err" || fail "Windows could not replay $demo"
    [ "$(crlf_line "$out/golden.out")" = "$(cat "${demo%.demo}.line")" ] ||
        fail "$demo: kept '$(cat "${demo%.demo}.line")', Windows replayed '$(crlf_line "$out/golden.out")'"
done
echo "windows: played under Wine (title after $title_ms ms), '$played' replayed on Linux; a score kept in %APPDATA% with its game, the sound off kept in the settings; '$recorded' and the golden demos replayed on Windows"
