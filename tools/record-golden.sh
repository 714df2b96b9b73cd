#!/bin/sh
# Records a release's golden demos into tests/golden/VERSION/, once: each
# NAME.demo with NAME.line, the line it ended on. Every later release must
# replay them to those lines (the suite does, on every build it makes), so a
# release's demos are never recorded again and never removed: the script
# refuses a directory that exists.
#
#   sh tools/record-golden.sh BUILD_DIR [DIR]  (after make build; DIR to try it elsewhere)
#
#   bot        the level bot plays all six levels from the title, its clock
#              stepping unevenly (15, 18, 16, 17, 19, 16 ms a frame in turn),
#              as a real clock steps: products of speed and time are inexact
#   game-over  from level 1, a player walks into an enemy until the last life
#              goes; the game-over picture, the title again, and a second game
#   keys       F2, F3, M and F1 (to full screen and back) while playing
#   own-level  a level file of the player's own, edited while it plays
#
# The last three are played in the real program, in a window on a virtual X
# server, with keys held as a keyboard sends them.
set -eu
build=${1:?usage: record-golden.sh BUILD_DIR [DIR]}
game="$build/vantrel"
recorder="$build/tests/record_demo"
[ -x "$recorder" ] || recorder="$build/bench/record_demo"
version=$("$game" --version | sed 's/^vantrel //')
dir=${2:-tests/golden/$version}
[ ! -e "$dir" ] || { echo "record-golden: $dir exists: a release's demos are recorded once" >&2; exit 1; }
out=$(mktemp -d)
. tests/xvfb.sh
begin_x_test record-golden
mkdir -p "$out/golden"

# How many waits (game-over pictures) the demo holds: its records read as
# app/demo_file.h lays them out.
waits() {
    python3 - "$1" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
at, waits = data.index(b"\nrecords\n") + 9, 0
def number():
    global at
    while data[at] & 0x80:
        at += 1
    at += 1
while at < len(data):
    kind = data[at]
    at += 1
    if kind & 0x80:
        continue
    if kind == ord("M"):
        at += 1
        number()
        number()
    elif kind in (ord("F"), ord("W")):
        waits += kind == ord("W")
        number()
    elif kind == ord("L"):
        start = at
        number()
        size = 0
        for i, byte in enumerate(data[start:at]):
            size |= (byte & 0x7F) << (7 * i)
        at += size
    elif kind == ord("E"):
        number()
        number()
print(waits)
PY
}

# Plays FUNCTION against the real program recording NAME.demo, then ends it
# with ESC; the end line goes beside the demo.
record_played() {
    name=$1 play=$2
    shift 2
    "$game" --window --record "$out/golden/$name.demo" "$@" >"$out/golden/$name.line" 2>"$out/$name.err" &
    game_pid=$!
    win=$(find_window "Vantrel Remake") || fail "$name: the game window did not appear"
    xdotool windowfocus --sync "$win" 2>/dev/null
    sleep 0.5
    "$play"
    quit_with_escape || fail "$name: the game did not end on ESC"
    [ "$status" -eq 27 ] || fail "$name: the game ended with $status"
    echo "$name: $(cat "$out/golden/$name.line")"
}

game_over() {
    press space
    # On level 1 the figure walks right, climbs the first stair and walks on
    # to the right edge, where it stands in the way of the enemy bobbing
    # there. A hit puts it back at the top of the stair, from where it walks
    # out again: eight walks lose the five lives.
    i=0
    while [ $i -lt 8 ]; do
        press Right 0.3
        sleep 3
        i=$((i + 1))
    done
    sleep 6        # the game-over picture, then the title
    press space    # a second game, with its whole bonus
    press Right 1.5
}

keys() {
    press space
    press Right 1
    press F2
    press Left 0.6
    press F3
    press Right 0.6
    press m
    press F1       # full screen, and the game back on its title
    sleep 1.5
    press space
    press Right 0.8
    press F1
    sleep 1.5
    press m
    press space
    press Left 0.5
}

own_level() {
    press space
    press Right 1.2
    cp data/level2.lvl.txt "$out/own.new" && mv "$out/own.new" "$out/own.lvl.txt"
    sleep 1
    press Right 1
    press Left 0.4
    cp data/level3.lvl.txt "$out/own.new" && mv "$out/own.new" "$out/own.lvl.txt"
    sleep 1
    press Right 1
}

SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$recorder" "$out/golden/bot.demo" 15,18,16,17,19,16 \
    >"$out/golden/bot.line" 2>"$out/bot.err" || fail "the level bot's recording failed"
grep -c '^level [0-9]: exit reached' "$out/bot.err" | grep -qx 6 || fail "the level bot did not finish all six levels"
echo "bot: $(cat "$out/golden/bot.line")"
export SDL_AUDIODRIVER=dummy
record_played game-over game_over --level 1
[ "$(waits "$out/golden/game-over.demo")" = 1 ] || fail "game-over: the game did not end in a game over"
record_played keys keys
cp data/level1.lvl.txt "$out/own.lvl.txt"
record_played own-level own_level --level-file "$out/own.lvl.txt"
grep -c 'own.lvl.txt changed: loaded again' "$out/own-level.err" | grep -qx 2 || fail "the own level was not loaded twice"

# Each replays to its line before it is kept.
for demo in "$out"/golden/*.demo; do
    line=$(SDL_VIDEODRIVER=offscreen "$game" --no-vsync --play-demo "$demo" 2>"$out/replay.err") ||
        fail "$(basename "$demo") does not replay"
    [ "$line" = "$(cat "${demo%.demo}.line")" ] || fail "$(basename "$demo") replays to '$line'"
done
mkdir -p "$(dirname "$dir")"
cp -r "$out/golden" "$dir"
echo "record-golden: kept in $dir"
