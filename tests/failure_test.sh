#!/bin/sh
# The real program where it cannot show itself, and where it cannot ask.
#
# With no display at all it must not play unseen: it asks its question on
# standard error (answered Yes), says it found no display and ends with
# status 1, within a few seconds rather than never.
#
# On an X server that has only its built-in fonts, and with no zenity on
# PATH, no message box can be shown: the question goes to standard error,
# is answered Yes, and the game plays full screen until --quit-after ends
# it as ESC does (27).
#
# The demo recorder of the tests and benchmarks, with no display, says why
# as the game does and ends with 1, leaving no recording behind.
#
#   failure_test.sh GAME [RECORD_DEMO]
set -u
game="$1" record="${2:-}"
out=$(mktemp -d)
xvfb=""
fail() {
    echo "failure: $*" >&2
    [ -s "$out/game.err" ] && sed 's/^/  game: /' "$out/game.err" >&2
    exit 1
}
. "$(dirname "$0")/xvfb.sh"
cleanup() { stop_xvfb; rm -rf "$out"; }
trap cleanup EXIT
command -v Xvfb >/dev/null || fail "Xvfb is missing"
command -v xlsfonts >/dev/null || fail "xlsfonts is missing"

# The game runs with an empty PATH, so no zenity can be found; without
# XDG_RUNTIME_DIR no Wayland compositor is reached through its default socket.
mkdir "$out/nothing"
run_game() {
    timeout 30 env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR PATH="$out/nothing" \
        "$game" "$@" 2>"$out/game.err"
}
said() { grep -qF "$1" "$out/game.err"; }
question="Start FullScreen?: Would You Like To Run In Fullscreen Mode?"

# 1. No display: DISPLAY and WAYLAND_DISPLAY unset.
start=$(date +%s%N)
(unset DISPLAY; run_game)
status=$?
ms=$((($(date +%s%N) - start) / 1000000))
[ "$status" -eq 1 ] || fail "with no display the game ended with $status, not 1"
said "$question" || fail "the question did not go to standard error"
said "(no message box could be shown; answered Yes)" || fail "the question was not answered Yes"
said "vantrel: no display could be reached (DISPLAY unset, WAYLAND_DISPLAY unset)" || fail "no word of the missing display"
said "ERROR: Failed To Register The Window Class." || fail "the window class failure was not reported"
[ "$ms" -lt 10000 ] || fail "the failure took $ms ms"
# The demo recorder, where it is built. (Its headless default is kept out
# by an empty SDL_VIDEODRIVER.)
if [ -n "$record" ]; then
    (unset DISPLAY; timeout 30 env -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR SDL_VIDEODRIVER= "$record" "$out/bot.demo" \
        16 60 >/dev/null 2>"$out/game.err")
    status=$?
    [ "$status" -eq 1 ] || fail "with no display the demo recorder ended with $status, not 1"
    said "no display could be reached" || fail "the demo recorder did not say why it ended"
    [ -z "$(ls "$out" | grep bot.demo)" ] || fail "the demo recorder left $(ls "$out" | grep bot.demo)"
fi

# 2. A display, but no message box: only the server's built-in fonts, which
# hold none that the box asks for.
start_xvfb -fp built-ins || fail "Xvfb did not start with its built-in fonts alone"
xlsfonts -fn '-*-*-medium-r-normal--*-120-*-*-*-*-*-*' 2>/dev/null | grep -q . &&
    fail "the server has fonts for a message box: $(xlsfonts | head -n 5 | tr '\n' ' ')"
run_game --quit-after 60
status=$?
[ "$status" -eq 27 ] || fail "with no message box the game ended with $status, not 27"
said "$question" || fail "the question did not go to standard error"
said "(no message box could be shown; answered Yes)" || fail "the question was not answered Yes"
# Full screen was taken as answered: no box offered a window instead.
[ "$(grep -c "no message box could be shown" "$out/game.err")" -eq 1 ] || fail "more than the question was reported"

echo "failure: no display ended with 1 after $ms ms; an unshowable question was answered Yes and the game played"
