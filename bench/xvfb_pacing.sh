#!/bin/sh
# The real program on a virtual X server, as a player starts it: the CPU it
# uses over 10 s with frames paced and with --no-vsync, the two runs side by
# side, and how long 600 paced frames take; then, given the slow_swap
# library, the frame rate again with a driver that works 12 ms on every
# frame without waiting for the display, paced and not.
#
#   xvfb_pacing.sh VANTREL [SECONDS [SLOW_SWAP.so]]
#
# Prints lines "cpu_paced PERCENT", "cpu_unpaced PERCENT" (of one core, from
# /proc/PID/stat) and "paced_fps FRAMES_PER_SECOND"; with the library also
# "paced_fps_work12 FPS" and "unpaced_fps_work12 FPS".
set -eu
game=$1
seconds=${2:-10}
slow_swap=${3:-}
here=$(dirname "$0")
. "$here/../tests/xvfb.sh"

start_xvfb || { echo "no Xvfb" >&2; exit 1; }
trap 'kill "$xvfb" 2>/dev/null' EXIT
hz=$(getconf CLK_TCK)

# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Starts the game, lets it settle (start-up is not what is measured), then
# counts its CPU time over the given seconds; the game shows its title,
# then, after SPACE, level 0.
cpu_percent() {
    "$game" --window "$@" >/dev/null 2>&1 &
    pid=$!
    id=$(find_window "Vantrel Remake")
    xdotool key --window "$id" space 2>/dev/null || true
    sleep 1
    t0=$(cpu_ticks "$pid")
    sleep "$seconds"
    t1=$(cpu_ticks "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$t0 $t1 $hz $seconds" | awk '{ printf "%.1f\n", 100 * ($2 - $1) / $3 / $4 }'
}

echo "cpu_paced $(cpu_percent)"
echo "cpu_unpaced $(cpu_percent --no-vsync)"

# 600 frames and 60 more, so that the start-up cancels out of the difference.
frames_time() {
    start=$(date +%s.%N)
    n=$1; shift
    "$game" --window --quit-after "$n" "$@" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    echo "$start $end" | awk '{ print $2 - $1 }'
}
fps() {
    name=$1; shift
    short=$(frames_time 60 "$@")
    long=$(frames_time 660 "$@")
    echo "$short $long" | awk -v name="$name" '{ printf "%s %.2f\n", name, 600 / ($2 - $1) }'
}
fps paced_fps
[ -n "$slow_swap" ] || exit 0
export LD_PRELOAD="$slow_swap" VANTREL_SWAP_WORK_MS=12
fps paced_fps_work12
fps unpaced_fps_work12 --no-vsync
