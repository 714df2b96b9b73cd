# Sourced by the tests (and the bare-system check) that run the real program
# on a virtual X server.
#
#   start_xvfb [XVFB OPTION]...
#
# starts Xvfb (1024 x 768, or $xvfb_screen such as 1920x1080, 24 bits, no TCP,
# no reset) on a display number nobody uses,
# exports DISPLAY, keeps the server's process id in $xvfb and waits up to
# 10 s until it answers. False when it does not start.
#
#   find_window NAME        prints the id of the window so named (waits 20 s)
#   colours_close A B       true when the "r g b" lines of files A and B agree
#                           within 12 per channel
#   title_points            pixels of the 640 x 480 title worth comparing

# A display number is taken when its socket or lock file exists, or when a
# server listens on its abstract socket: that one is shared by every chroot
# and container on the machine's network, so a server elsewhere (another run
# of these tests, say) would answer our clients.
display_taken() {
    [ -e "/tmp/.X11-unix/X$1" ] || [ -e "/tmp/.X$1-lock" ] ||
        grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}

start_xvfb() {
    n=91
    while display_taken "$n"; do n=$((n + 1)); done
    export DISPLAY=":$n"
    # -noreset: an X server resets itself when its last client leaves, and
    # a client arriving meanwhile may be refused; the probe below is such a
    # last client, and the game arrives right after it.
    # -noreset: an X server resets itself whenever its last client leaves (the
    # probe below is such a client, and each game run another), and a client
    # that arrives meanwhile can be turned away. What the server says goes
    # to $xvfb_log when the caller names one.
    Xvfb "$DISPLAY" -screen 0 "${xvfb_screen:-1024x768}x24" -nolisten tcp -noreset "$@" >"${xvfb_log:-/dev/null}" 2>&1 &
    xvfb=$!
    i=0
    until xwininfo -root >/dev/null 2>&1; do
        kill -0 "$xvfb" 2>/dev/null || return 1
        i=$((i + 1)); [ $i -gt 100 ] && return 1
        sleep 0.1
    done
    kill -0 "$xvfb" 2>/dev/null  # the one that answered was ours
}

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

# A snapshot's colours against the headless rendering's: the two renderers
# may round differently, so a small difference is allowed.
colours_close() {
    paste "$1" "$2" | awk '{
        for (i = 1; i <= 3; i++) { d = $i - $(i + 3); if (d < 0) d = -d; if (d > 12) bad = 1 }
    } END { exit bad }'
}

title_points="20 20 320 60 320 240 100 400 600 460"

# For a test that plays the real program on a server of its own: checks
# for Xvfb and xdotool, clears the drivers the environment may name, starts
# the server, and on exit stops the game ($game_pid, when set) and the
# server and removes $out, which the test makes first.
#
#   begin_x_test NAME
#   fail MESSAGE           ends the test, showing what the program wrote in $out/*.err
#   press KEY [SECONDS]    holds a key for a fifth of a second, or as long as given
begin_x_test() {
    x_test_name=$1
    fail() {
        echo "$x_test_name: $*" >&2
        for f in "$out"/*.err; do [ -s "$f" ] && sed "s|^|  $(basename "$f"): |" "$f" >&2; done
        exit 1
    }
    command -v Xvfb >/dev/null || fail "Xvfb is missing"
    command -v xdotool >/dev/null || fail "xdotool is missing"
    command -v xwininfo >/dev/null || fail "xwininfo is missing"
    unset SDL_VIDEODRIVER WAYLAND_DISPLAY
    xvfb=""
    game_pid=""
    trap end_x_test EXIT
    xvfb_log="$out/xvfb.err"
    start_xvfb || fail "Xvfb did not start"
}
end_x_test() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    stop_xvfb
    rm -rf "$out"
}

# Stops the server and waits until it is gone: the next test may start its
# own on the same display number, and would otherwise find this one still
# answering there, and then lose it.
stop_xvfb() {
    [ -n "$xvfb" ] || return 0
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    xvfb=""
}

# Runs a check every half second until it passes, for up to 15 s: a loaded
# machine may take a while to draw the first frame after a change.
eventually() {
    i=0
    until "$@"; do
        i=$((i + 1)); [ $i -ge 30 ] && return 1; sleep 0.5
    done
}

# The same for up to SECONDS.
within() {
    limit=$(($1 * 2)); shift
    i=0
    until "$@"; do
        i=$((i + 1)); [ $i -ge $limit ] && return 1; sleep 0.5
    done
}

# Whether a 640 x 480 game window shows neither the title picture (whose
# purple background is at these points) nor the floors: the name asked after
# a game over, or the title's high scores.
no_picture_points="10 330 630 330 10 200 630 200"
picture_dark() {
    "$snapshot" "$1" "$out/dark.png" $no_picture_points >"$out/dark.txt" || fail "no snapshot of $1"
    [ "$(awk '$1 + $2 + $3 < 30' "$out/dark.txt" | wc -l)" -eq 4 ] && ! floors_shown "$1" 0 640 480 1
}

# Whether the eleven floor bars (world y = 16, 32, ... 176) show in a picture
# LEFT pixels from the left of drawable DRAWABLE, WIDTH x HEIGHT pixels, as
# $snapshot captures it: NEEDED of their 22 samples, near both ends, are
# yellow. The count is left in $yellow.
floors_shown() {
    drawable=$1 left=$2 width=$3 height=$4 needed=$5
    points=""
    k=1
    while [ $k -le 11 ]; do
        row=$((height - 1 - k * 16 * height / 200))
        points="$points $((left + 4)) $row $((left + width - 5)) $row"
        k=$((k + 1))
    done
    "$snapshot" "$drawable" "$out/floors.png" $points > "$out/floors.txt" || fail "no snapshot of $drawable"
    yellow=$(awk '$1 > 200 && $2 > 200 && $3 < 80' "$out/floors.txt" | wc -l)
    [ "$yellow" -ge "$needed" ]
}

# Holds ESC as a player does and waits up to 20 s for $game_pid to end,
# leaving its exit status in $status; false when it did not end.
quit_with_escape() {
    press Escape 0.1
    i=0
    while kill -0 "$game_pid" 2>/dev/null; do
        i=$((i + 1)); [ $i -gt 200 ] && return 1; sleep 0.1
    done
    wait "$game_pid"
    status=$?
    game_pid=""
}

# A press and release that arrive together are handled in one pass of the
# main loop, so the game never sees the key down, just as a too-short tap
# would be missed: a key is held as a person holds it.
press() { xdotool keydown "$1"; sleep "${2:-0.2}"; xdotool keyup "$1"; }
