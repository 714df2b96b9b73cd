#!/bin/sh
# The real program on a 16:9 screen, as players run it: under a window
# manager (openbox) and on a display with none. Keys go as a keyboard sends
# them, to whichever window has the focus. Windowed, F1 to full screen (the
# 4:3 picture in the middle, black at the sides, every floor where the view
# puts it), F1 back to a 640 x 480 window; and -f at start.
#
#   desktop_test.sh GAME X11_SNAPSHOT
set -u
game="$1" snapshot="$2"
out=$(mktemp -d)
. "$(dirname "$0")/xvfb.sh"
xvfb_screen=1280x720
screen_w=1280 screen_h=720
begin_x_test desktop
command -v openbox >/dev/null || fail "openbox is missing"

# Full screen on this 16:9 screen: a 960 x 720 picture from x = 160, black
# columns beside it, floors in it.
full_screen_shown() {
    root=$(xwininfo -root | awk '/Window id/ { print $4 }')
    floors_shown "$root" 160 960 720 18 || return 1
    "$snapshot" "$root" "$out/sides.png" 20 360 150 100 150 600 1130 360 1260 100 1260 600 > "$out/sides.txt" ||
        fail "no snapshot of the screen"
    [ "$(awk '$1 + $2 + $3 == 0' "$out/sides.txt" | wc -l)" -eq 6 ]
}

window_shown() {
    win=$(find_window "Vantrel Remake") || return 1
    geometry=$(xdotool getwindowgeometry "$win" 2>/dev/null | sed -n 's/.*Geometry: //p')
    [ "$geometry" = "640x480" ] && floors_shown "$win" 0 640 480 18
}

ended_with_escape() {
    quit_with_escape || fail "$1: the game did not end after ESC"
    [ "$status" -eq 27 ] || fail "$1: exit status $status, expected 27"
}

# Windowed, SPACE, F1, SPACE (a switch returns to the title), F1, SPACE.
round_trip() {
    "$game" --window 2>"$out/$1.err" &
    game_pid=$!
    find_window "Vantrel Remake" >/dev/null || fail "$1: the game window did not appear"
    sleep 0.5
    press space 0.1
    eventually window_shown || fail "$1: no 640x480 window with its floors (${geometry:-none}, $yellow yellow)"
    press F1 0.1
    sleep 1
    press space 0.1
    eventually full_screen_shown || fail "$1: full screen is not the 4:3 picture on black ($yellow yellow)"
    press F1 0.1
    sleep 1
    press space 0.1
    eventually window_shown || fail "$1: F1 did not give the 640x480 window back (${geometry:-none}, $yellow yellow)"
    ended_with_escape "$1"
}

# A pointer off the window, as a player's mouse may be: keys still reach it.
xdotool mousemove $((screen_w - 10)) $((screen_h - 10))
round_trip "without a window manager"

openbox >"$out/openbox.log" 2>&1 &
wm=$!
i=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
    i=$((i + 1)); [ $i -gt 100 ] && fail "openbox did not start"; sleep 0.1
done
round_trip "under openbox"

# Under openbox: P pauses play (the picture stands still, though the bonus
# would count down every second), P goes on; another window taking the
# focus pauses it, and the game's coming back leaves it paused. The game
# recorded meanwhile replays with its pauses to its line.
stands_still() {
    "$snapshot" "$win" "$out/still-a.png" >/dev/null || fail "no snapshot of the game"
    sleep 1
    "$snapshot" "$win" "$out/still-b.png" >/dev/null || fail "no snapshot of the game"
    cmp -s "$out/still-a.png" "$out/still-b.png"
}
"$game" --window --record "$out/pauses.demo" >"$out/pauses.txt" 2>"$out/pauses.err" &
game_pid=$!
win=$(find_window "Vantrel Remake") || fail "pause: the game window did not appear"
sleep 0.5
press space 0.1
sleep 0.5
stands_still && fail "pause: the picture stands still in play"
press p 0.1
sleep 0.3
stands_still || fail "pause: P did not pause play"
press p 0.1
sleep 0.3
stands_still && fail "pause: P again did not resume play"
xmessage -name other "another window" 2>/dev/null &
other=$!
other_win=$(find_window "other") || fail "pause: the other window did not appear"
xdotool windowactivate --sync "$other_win" 2>/dev/null
sleep 0.5
stands_still || fail "pause: losing the focus did not pause play"
xdotool windowactivate --sync "$win" 2>/dev/null
sleep 0.5
stands_still || fail "pause: the game resumed by itself"
kill "$other" 2>/dev/null
press p 0.1
sleep 0.3
stands_still && fail "pause: P did not resume play after the focus came back"
ended_with_escape "pause"
replayed=$(SDL_VIDEODRIVER=offscreen "$game" --no-vsync --play-demo "$out/pauses.demo" 2>"$out/pauses-replay.err") ||
    fail "pause: the recorded game did not replay"
[ "$replayed" = "$(cat "$out/pauses.txt")" ] || fail "pause: recorded '$(cat "$out/pauses.txt")', replayed '$replayed'"

SDL_AUDIODRIVER=dummy "$game" -f 2>"$out/start-full.err" &
game_pid=$!
find_window "Vantrel Remake" >/dev/null || fail "-f: the game window did not appear"
sleep 0.5
press space 0.1
eventually full_screen_shown || fail "-f: full screen is not the 4:3 picture on black ($yellow yellow)"
ended_with_escape "-f"
kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null
echo "desktop: F1 round trip without a window manager and under openbox, -f at start: 4:3 on black, floors in place;" \
    "pause by P and by the focus lost under openbox"
