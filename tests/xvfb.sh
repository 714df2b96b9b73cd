# Sourced by the tests that run the real program on a virtual X server.
#
#   start_xvfb [XVFB OPTION]...
#
# starts Xvfb (1024 x 768, 24 bits, no TCP) on a display number nobody uses,
# exports DISPLAY, keeps the server's process id in $xvfb and waits up to
# 10 s until it answers. False when it does not start.

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
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp "$@" >/dev/null 2>&1 &
    xvfb=$!
    i=0
    until xwininfo -root >/dev/null 2>&1; do
        kill -0 "$xvfb" 2>/dev/null || return 1
        i=$((i + 1)); [ $i -gt 100 ] && return 1
        sleep 0.1
    done
}
