#!/bin/sh
# The real program in a real window on a virtual X server: answer the
# full-screen question with No, find a 640 x 480 window, press ESC, and see
# the program end.
set -u
game="$1"
fail() { echo "real_window: $*" >&2; exit 1; }
command -v Xvfb >/dev/null || fail "Xvfb is missing"
command -v xdotool >/dev/null || fail "xdotool is missing"
command -v xwininfo >/dev/null || fail "xwininfo is missing"

# A display number nobody uses.
n=91
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
export DISPLAY=":$n"
unset SDL_VIDEODRIVER WAYLAND_DISPLAY

Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
game_pid=""
cleanup() { [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null; kill "$xvfb" 2>/dev/null; }
trap cleanup EXIT

# Waits up to 20 s for a window with exactly this name; prints its id.
# (xwininfo, because xdotool cannot read names stored as UTF-8.)
find_window() {
    i=0
    while [ $i -lt 200 ]; do
        id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}' | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1; i=$((i + 1))
    done
    return 1
}

i=0
until xdotool getmouselocation >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -gt 100 ] && fail "Xvfb did not start"; sleep 0.1
done

"$game" &
game_pid=$!

box=$(find_window "Start FullScreen?") || fail "the full-screen question did not appear"
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key --clearmodifiers Escape          # Escape answers No

win=$(find_window "Vantrel Remake") || fail "the game window did not appear"
sleep 0.5
geometry=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "640x480" ] || fail "client area is '$geometry', not 640x480"

xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key --clearmodifiers Escape
i=0
while kill -0 "$game_pid" 2>/dev/null; do
    i=$((i + 1)); [ $i -gt 100 ] && fail "the game did not end after ESC"; sleep 0.1
done
wait "$game_pid"
status=$?
game_pid=""
# The exit code is the last message's parameter: the ESC key (27).
[ "$status" -eq 27 ] || fail "exit status $status, expected 27"
echo "real_window: question answered, 640x480 window shown, ESC ended the game"
