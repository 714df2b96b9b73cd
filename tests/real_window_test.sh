#!/bin/sh
# The real program in a real window on a virtual X server: answer the
# full-screen question with No, find a 640 x 480 window showing the title as
# the headless renderer draws it, start play with SPACE and see the floors,
# press ESC, and see the program end.
#
#   real_window_test.sh GAME SCREENSHOT X11_SNAPSHOT PNG_PIXELS
set -u
game="$1" screenshot="$2" snapshot="$3" pixels="$4"
out=$(mktemp -d)
. "$(dirname "$0")/xvfb.sh"
begin_x_test real_window

"$game" 2>"$out/game.err" &
game_pid=$!

box=$(find_window "Start FullScreen?") || fail "the full-screen question did not appear"
xdotool windowfocus --sync "$box" 2>/dev/null
press Escape          # Escape answers No

win=$(find_window "Vantrel Remake") || fail "the game window did not appear"
sleep 0.5
geometry=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "640x480" ] || fail "client area is '$geometry', not 640x480"

# The title, compared with the same frame drawn headless.
SDL_VIDEODRIVER=offscreen "$screenshot" "$out/expected.png" 3 || fail "the headless renderer failed"
"$pixels" "$out/expected.png" $title_points > "$out/expected.txt"
title_shown() {
    "$snapshot" "$win" "$out/title.png" $title_points > "$out/shown.txt" || fail "no snapshot of the window"
    colours_close "$out/shown.txt" "$out/expected.txt"
}
eventually title_shown ||
    fail "the window does not show the title: $(paste -d'|' "$out/shown.txt" "$out/expected.txt" | tr '\n' ' ')"

# SPACE starts play: eleven yellow floor bars, at world y = 16, 32, ... 176.
xdotool windowfocus --sync "$win" 2>/dev/null
press space
eventually floors_shown "$win" 0 640 480 16 || fail "only $yellow of 22 floor samples are yellow after SPACE"

quit_with_escape || fail "the game did not end after ESC"
# The exit code is the last message's parameter: the ESC key (27).
[ "$status" -eq 27 ] || fail "exit status $status, expected 27"
echo "real_window: question answered, 640x480 window with the title, floors after SPACE, ESC ended the game"
