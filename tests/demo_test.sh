#!/bin/sh
# A game recorded in a real window on a virtual X server, played with keys,
# replays headless to the same end line, twice; a screenshot of one of its
# frames is written; a demo cut short, and one left by a killed game (in
# FILE.part, FILE left as it was), replay up to their last whole frame and
# say so. Given a second build of the game (by another compiler, make
# other-build), the games recorded here replay on it to the same line too.
#
#   demo_test.sh GAME SCREENSHOT PNG_PIXELS X11_SNAPSHOT [OTHER_GAME]
set -u
game="$1" screenshot="$2" pixels="$3" snapshot="$4" other="${5:-}"
out=$(mktemp -d)
. "$(dirname "$0")/xvfb.sh"
begin_x_test demo

# The title picture is in the window: no black where it has none. (A slow
# build still loading its pictures shows a window with nothing drawn.)
title_drawn() {
    "$snapshot" "$win" "$out/look.png" $no_picture_points >"$out/look.txt" 2>/dev/null || return 1
    [ "$(awk '$1 + $2 + $3 < 30' "$out/look.txt" | wc -l)" -eq 0 ]
}
# Plays a while: start, walk right, mirror, walk left. SPACE goes once the
# title has been drawn and shown a moment, so that the game's first frames
# (frame 10's screenshot below among them) are the title's.
play_some() {
    win=$(find_window "Vantrel Remake") || fail "the game window did not appear"
    eventually title_drawn || fail "the title was not drawn"
    xdotool windowfocus --sync "$win" 2>/dev/null
    sleep 0.5
    press space
    press Right 1.5
    press F2
    press Left 0.7
}

"$game" --window --record "$out/game.demo" >"$out/recorded.txt" 2>"$out/record.err" &
game_pid=$!
play_some
press Escape
wait "$game_pid"
game_pid=""
recorded=$(cat "$out/recorded.txt")
echo "$recorded" | grep -q '^frames [1-9][0-9]*, level 0, score [0-9]*, lives [0-9]*, state [0-9a-f]\{16\}$' ||
    fail "the recorded game ended with '$recorded'"

replay() { SDL_VIDEODRIVER=offscreen "$game" --no-vsync --play-demo "$@"; }
first=$(replay "$out/game.demo" --screenshot-at 10:"$out/frame10.png" 2>"$out/replay.err") ||
    fail "the replay failed"
second=$(replay "$out/game.demo" 2>>"$out/replay.err") || fail "the second replay failed"
[ "$first" = "$recorded" ] || fail "recorded '$recorded', replayed '$first'"
[ "$second" = "$first" ] || fail "replayed '$first', then '$second'"
[ ! -s "$out/replay.err" ] || fail "the replay complained"
# Frame 10 is on the title: it shows what the headless renderer draws there.
SDL_VIDEODRIVER=offscreen "$screenshot" "$out/expected.png" 3 || fail "the headless renderer failed"
"$pixels" "$out/expected.png" $title_points > "$out/expected.txt"
"$pixels" "$out/frame10.png" $title_points > "$out/shot.txt" 2>/dev/null || fail "no screenshot of frame 10"
colours_close "$out/shot.txt" "$out/expected.txt" || fail "the screenshot of frame 10 does not show the title"

# Another release of the same rules replays it alike; other levels in the
# data are refused, saying which.
sed '2s/^game .*/game 0.0.1-old/' "$out/game.demo" > "$out/old.demo"
old=$(replay "$out/old.demo" 2>"$out/old.err") || fail "a demo of another release by the same rules was refused"
[ "$old" = "$first" ] || fail "another release's demo replayed '$old'"
mkdir -p "$out/other"
cp -r data "$out/other/data"
cp data/level2.lvl.txt "$out/other/data/level1.lvl.txt"
replay "$out/game.demo" --datadir "$out/other" >/dev/null 2>"$out/other.err" && fail "a demo of other levels was replayed"
grep -q "exactly: level 1 of the data differs from the one it was recorded with" "$out/other.err" ||
    fail "no word of the level that differs"
rm -rf "$out/other"

# Cut short inside its records: replayed as far as whole frames go.
size=$(wc -c < "$out/game.demo")
head -c $((size - 40)) "$out/game.demo" > "$out/cut.demo"
cut=$(replay "$out/cut.demo" 2>"$out/cut.err") || fail "the cut demo failed"
grep -q "ends early (it is cut short at byte [0-9]*): replaying its [0-9]* whole frames" "$out/cut.err" ||
    fail "the cut demo did not say it ends early"
[ "$cut" != "$first" ] || fail "the cut demo ended as the whole one"

# A recording whose game is killed leaves the old demo of that name whole,
# and all but its last second or so in FILE.part.
cp "$out/game.demo" "$out/killed.demo"
"$game" --window --record "$out/killed.demo" >/dev/null 2>"$out/killed.err" &
game_pid=$!
play_some
# The recording is written out every second of play: killed once FILE.part
# holds 60 frames (which a loaded machine may take longer to draw).
part_frames() {
    left=$(replay "$out/killed.demo.part" 2>"$out/killed-replay.err") || return 1
    frames=$(echo "$left" | sed 's/^frames \([0-9]*\),.*/\1/')
    [ "${frames:-0}" -ge 60 ]
}
within 20 part_frames
kill -9 "$game_pid"
wait "$game_pid" 2>/dev/null
game_pid=""
cmp -s "$out/killed.demo" "$out/game.demo" || fail "the killed recording did not leave the old demo whole"
left=$(replay "$out/killed.demo.part" 2>"$out/killed-replay.err") || fail "the killed game's demo failed"
frames=$(echo "$left" | sed 's/^frames \([0-9]*\),.*/\1/')
[ "${frames:-0}" -ge 60 ] || fail "the killed game's demo holds $frames frames: '$left'"
# A level file of its own, changed on disk during play: the demo carries
# both versions, so it replays with the file gone.
cp data/level1.lvl.txt "$out/own.lvl.txt"
"$game" --window --level-file "$out/own.lvl.txt" --record "$out/own.demo" >"$out/own.txt" 2>"$out/own.err" &
game_pid=$!
play_some
cp data/level2.lvl.txt "$out/own.new" && mv "$out/own.new" "$out/own.lvl.txt"
# Played on once the game has seen the new file (at once, on an idle machine).
within 10 grep -q "own.lvl.txt changed: loaded again" "$out/own.err"
press Right 0.5
press Escape
wait "$game_pid"
game_pid=""
grep -q "own.lvl.txt changed: loaded again" "$out/own.err" || fail "the changed level was not loaded again"
rm "$out/own.lvl.txt"
own=$(replay "$out/own.demo" 2>"$out/own-replay.err") || fail "the own level's demo failed"
[ "$own" = "$(cat "$out/own.txt")" ] || fail "own level: recorded '$(cat "$out/own.txt")', replayed '$own'"
if [ -n "$other" ]; then
    [ -x "$other" ] || fail "there is no second build at $other (make other-build makes it)"
    echo "$recorded" > "$out/game.txt"
    for demo in game own; do
        line=$(SDL_VIDEODRIVER=offscreen "$other" --no-vsync --play-demo "$out/$demo.demo" 2>"$out/other-$demo.err") ||
            fail "the second build's replay of $demo.demo failed"
        [ "$line" = "$(cat "$out/$demo.txt")" ] ||
            fail "$demo.demo: recorded '$(cat "$out/$demo.txt")', the second build replayed '$line'"
    done
fi

# Recording refused at the start where it cannot be written; a disk that
# fills (here a file size limit) stops it with one message, and play goes on.
SDL_VIDEODRIVER=offscreen "$game" --window --record /nonexistent/x.demo 2>"$out/refused.err" && fail "recorded into nowhere"
grep -q "cannot record into /nonexistent/x.demo" "$out/refused.err" || fail "no reason for refusing /nonexistent"
SDL_VIDEODRIVER=offscreen sh -c 'trap "" XFSZ; ulimit -f 8; exec "$0" --window --no-vsync --quit-after 4000 --record "$1"' \
    "$game" "$out/full.demo" >"$out/full.txt" 2>"$out/full.err"
[ "$(grep -c 'stopped: File too large; the game goes on unrecorded' "$out/full.err")" -eq 1 ] ||
    fail "a full disk was not told once"
grep -q '^frames 4001,' "$out/full.txt" || fail "play did not go on to its end after the disk filled"
[ ! -e "$out/full.demo" ] && [ -s "$out/full.demo.part" ] || fail "the stopped recording is not kept in full.demo.part alone"
rm -f "$out"/*.err
echo "demo: recorded '$recorded'; replayed alike twice headless; cut and killed demos replay to $(echo "$cut" | cut -d, -f1) and frames $frames"
