#!/bin/sh
# The real program's mixed sound, written by SDL's disk audio driver: silent
# on the title, not silent once SPACE starts play; silent throughout with
# --mute. With an audio driver that cannot open, the game says so once and
# plays on.
#
#   sound_output_test.sh GAME
set -u
game="$1"
out=$(mktemp -d)
. "$(dirname "$0")/xvfb.sh"
begin_x_test sound_output

# Whether the first N bytes of a file are all zero (the whole file without N).
silent() { n=${2:-$(wc -c < "$1")}; [ "$n" -gt 0 ] && cmp -s -n "$n" "$1" /dev/zero; }

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/sound.raw" "$game" --window 2>"$out/sound.err" &
game_pid=$!
win=$(find_window "Vantrel Remake") || fail "the game window did not appear"
xdotool windowfocus --sync "$win" 2>/dev/null
sleep 1
before=$(wc -c < "$out/sound.raw")
press space
sleep 1
press Escape
wait "$game_pid"
game_pid=""
silent "$out/sound.raw" "$before" || fail "the title was not silent ($before bytes)"
silent "$out/sound.raw" && fail "play started without a sound"

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/mute.raw" "$game" --window --mute 2>"$out/mute.err" &
game_pid=$!
win=$(find_window "Vantrel Remake") || fail "the muted game's window did not appear"
xdotool windowfocus --sync "$win" 2>/dev/null
sleep 1
press space
sleep 1
press Escape
wait "$game_pid"
game_pid=""
silent "$out/mute.raw" || fail "--mute was not silent"

SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=nosuchdriver "$game" --window --quit-after 120 >/dev/null 2>"$out/none.err"
status=$?
[ "$status" -eq 27 ] || fail "without an audio driver the game ended with $status"
[ "$(grep -c 'no sound (.*); the game plays on silently' "$out/none.err")" -eq 1 ] ||
    fail "no sound was not told once"
rm -f "$out"/*.err
echo "sound_output: title silent ($before bytes), SPACE heard, --mute silent, no driver told once"
