#!/bin/sh
# What the game writes for the player takes the place only of its own kind
# of file, whole or not at all. Refused at the start, with status 1 and
# nothing written: a recording into a file that is not a demo, into the level
# file being played (by another name), or beside a FILE.part that is not a
# demo; a screenshot over the demo being replayed or a file that is not a
# PNG. A recording over an old demo replaces it and leaves nothing beside; a
# screenshot that cannot be written whole (a file size limit) leaves the old
# picture whole and ends the replay with status 1.
#
#   output_files_test.sh GAME     (from the source tree)
set -u
game="$1"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
    echo "output_files: $*" >&2
    cat "$out"/*.err >&2 2>/dev/null
    exit 1
}
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

# Refused: status 1, the reason told, and FILE as it was.
refused() {
    file="$1" why="$2"
    shift 2
    cp "$file" "$out/before"
    "$game" --window --no-vsync --quit-after 30 "$@" >"$out/refused.txt" 2>"$out/refused.err"
    status=$?
    [ "$status" -eq 1 ] || fail "$*: exit status $status"
    grep -qF "$why" "$out/refused.err" || fail "$*: not refused with '$why'"
    cmp -s "$file" "$out/before" || fail "$*: $file was changed"
    [ ! -s "$out/refused.txt" ] || fail "$*: the game ran"
}

mkdir "$out/games" "$out/shots"
printf 'vantrel-demo 2\nold demo\n' >"$out/games/game.demo"
"$game" --window --no-vsync --quit-after 30 --record "$out/games/game.demo" >"$out/game.txt" 2>"$out/game.err"
[ $? -eq 27 ] || fail "the recording over an old demo failed"
[ "$(ls "$out/games")" = game.demo ] || fail "the recording left more than the demo: $(ls "$out/games")"
mv "$out/games/game.demo" "$out/game.demo"
"$game" --no-vsync --play-demo "$out/game.demo" >"$out/replayed.txt" 2>"$out/replayed.err" &&
    cmp -s "$out/game.txt" "$out/replayed.txt" || fail "the recording over an old demo does not replay to its line"

echo "a player's notes" >"$out/notes.txt"
refused "$out/notes.txt" "cannot record into $out/notes.txt: it is not a demo" --record "$out/notes.txt"
cp data/level1.lvl.txt "$out/mine.lvl.txt"
ln "$out/mine.lvl.txt" "$out/same.demo"
refused "$out/mine.lvl.txt" "cannot record into $out/same.demo: it is the level file being played" \
    --level-file "$out/mine.lvl.txt" --record "$out/same.demo"
cp "$out/notes.txt" "$out/new.demo.part"
refused "$out/new.demo.part" "cannot record into $out/new.demo: $out/new.demo.part (where the recording goes" \
    --record "$out/new.demo"
[ ! -e "$out/new.demo" ] || fail "new.demo was made"

refused "$out/game.demo" "cannot write the screenshot $out/game.demo: it is the demo being replayed" \
    --play-demo "$out/game.demo" --screenshot-at 5:"$out/game.demo"
refused "$out/notes.txt" "cannot write the screenshot $out/notes.txt: it is not a PNG picture" \
    --play-demo "$out/game.demo" --screenshot-at 5:"$out/shot.png" --screenshot-at 5:"$out/notes.txt"
[ ! -e "$out/shot.png" ] || fail "a screenshot was written after a refusal"

# A picture larger than the file size limit, over an old one.
shot="$out/shots/shot.png"
"$game" --no-vsync --play-demo "$out/game.demo" --screenshot-at 20:"$shot" >/dev/null 2>"$out/shot.err" ||
    fail "the screenshot failed"
cp "$shot" "$out/old.png"
sh -c 'trap "" XFSZ; ulimit -f 40; exec "$0" --no-vsync --play-demo "$1" --screenshot-at 5:"$2"' \
    "$game" "$out/game.demo" "$shot" >/dev/null 2>"$out/full.err"
status=$?
[ "$status" -eq 1 ] || fail "a screenshot cut short ended the replay with status $status"
grep -qF "cannot write the screenshot $shot: File too large" "$out/full.err" || fail "no word of the full disk"
cmp -s "$shot" "$out/old.png" || fail "the old picture was not left whole"
[ "$(ls "$out/shots")" = shot.png ] || fail "the failed screenshot left a file beside: $(ls "$out/shots")"
rm -f "$out"/*.err
echo "output_files: refusals, a recording over an old demo, a screenshot on a full disk"
