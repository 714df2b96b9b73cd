#!/bin/sh
# High scores as a player meets them, in the real program on a virtual X
# server with keys held as a keyboard sends them: a game over on a level of
# the player's own asks for the name, ABC is typed, the title shows the
# table in turn with its picture, 1 replays the kept game in the window to
# the line --play-demo gives its demo, ESC stops a second viewing and
# returns to the title, and the next run shows the entry again and prints
# it with --scores.
#
#   high_scores_test.sh GAME X11_SNAPSHOT
set -u
game="$1" snapshot="$2"
out=$(mktemp -d)
. "$(dirname "$0")/xvfb.sh"
begin_x_test high-scores
export XDG_DATA_HOME="$out/data"
# An enemy bobs over the figure's start and a coin lies under it: every life
# goes at once, 50 points made.
printf '1\n0 0 0 -16 190 0 16 data\\enemy1.tga\n0\n1\n0 0 0 12 12 0 data\\coin.tga 0 0 %%s 0 -1 50\n' \
    >"$out/deadly.lvl.txt"

# The title picture has no black where picture_dark looks. (A window just
# made may not be shown yet: no snapshot, not yet.)
picture_shown() {
    "$snapshot" "$win" "$out/look.png" $no_picture_points >"$out/look.txt" 2>/dev/null || return 1
    [ "$(awk '$1 + $2 + $3 < 30' "$out/look.txt" | wc -l)" -eq 0 ]
}
table_shown() { picture_dark "$win"; }
name_asked() { picture_dark "$win"; }
playing() { floors_shown "$win" 0 640 480 18; }
# The title's turn comes to its table within 8 s (after the picture's).
table_comes() { within 30 table_shown; }

start_game() {
    "$game" --window --level-file "$out/deadly.lvl.txt" >"$out/$1.txt" 2>"$out/$1.err" &
    game_pid=$!
    win=$(find_window "Vantrel Remake") || fail "$1: the game window did not appear"
    eventually picture_shown || fail "$1: the title picture did not show"
}

start_game first
press space
eventually playing || fail "the game did not start"
within 40 name_asked || fail "no name was asked after the game over"
for k in a b c Return; do press "$k"; done
eventually picture_shown || fail "the title did not come back after the name"
table_comes || fail "the title never showed its table"
grep -q "^entry ABC 50 0 " "$out/data/vantrel/scores.txt" || fail "ABC's score was not kept"

# Watched from the table: the game replays to its end, whose line the
# program prints, as --play-demo prints it for the kept demo.
press 1
eventually playing || fail "1 on the table replayed nothing"
within 40 test -s "$out/first.txt" || fail "the kept game did not replay to its end"
demo=$(sed -n 's/^entry ABC 50 0 [^ ]* \([^ ]*\) .*/\1/p' "$out/data/vantrel/scores.txt")
kept=$(SDL_VIDEODRIVER=offscreen "$game" --no-vsync --play-demo "$out/data/vantrel/$demo" 2>"$out/replay.err") ||
    fail "the kept demo did not replay by --play-demo"
[ "$(cat "$out/first.txt")" = "$kept" ] || fail "watched: '$(cat "$out/first.txt")'; --play-demo: '$kept'"
grep -q "went another way" "$out/first.err" && fail "the watched game went astray"

# ESC while watching returns to the title; ESC there ends the game.
table_comes || fail "the title did not show its table after the replay"
press 1
eventually playing || fail "1 on the table replayed nothing the second time"
press Escape
sleep 1
kill -0 "$game_pid" 2>/dev/null || fail "ESC while watching ended the game"
eventually picture_shown || fail "ESC while watching did not return to the title"
ended() { quit_with_escape && [ "$status" -eq 27 ]; }
ended || fail "the game did not end with ESC on its title (status ${status:-none})"

# The next run: the table is read back, and --scores lists its entry.
start_game second
table_comes || fail "the table was not shown after a restart"
ended || fail "the second run did not end with ESC (status ${status:-none})"
"$game" --scores >"$out/scores.txt" 2>"$out/scores.err" || fail "--scores failed"
grep -q "ABC  *50  level 0 .* $out/data/vantrel/$demo\$" "$out/scores.txt" ||
    fail "--scores printed: $(cat "$out/scores.txt")"
echo "high scores: a name typed after a game over, the table on the title, its game watched to its line" \
    "and stopped by ESC, kept after a restart, --scores"
