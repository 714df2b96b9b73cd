#!/bin/sh
# A demo recorded by this build replays to the same end line on a second
# build of the game, made by another compiler with other code generation
# (make other-build). The level bot plays the six levels into the demo with
# its clock stepping unevenly, as a real clock does from frame to frame:
# products such as speed x elapsed time are then inexact, and a build that
# rounded them differently (a fused multiply-add) would go another way.
#
#   other_build_test.sh RECORD_DEMO OTHER_GAME     (from the source tree)
set -u
record="$1" other="$2"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
    echo "other_build: $*" >&2
    cat "$out"/*.err >&2 2>/dev/null
    exit 1
}
[ -x "$other" ] || fail "there is no second build at $other (make other-build makes it)"

recorded=$("$record" "$out/bot.demo" 15,18,16,17,19,16 3000 2>"$out/record.err") || fail "the recording failed"
echo "$recorded" | grep -q '^frames [1-9][0-9]*, level [0-9]*, ' || fail "the recording ended with '$recorded'"
replayed=$(SDL_VIDEODRIVER=offscreen "$other" --no-vsync --datadir . --play-demo "$out/bot.demo" 2>"$out/replay.err") ||
    fail "the second build's replay failed"
[ "$replayed" = "$recorded" ] || fail "recorded '$recorded', the second build replayed '$replayed'"

# Every release's golden demos replay on it to the lines they were recorded with.
for demo in tests/golden/*/*.demo; do
    line=$(SDL_VIDEODRIVER=offscreen "$other" --no-vsync --datadir . --play-demo "$demo" 2>"$out/golden.err") ||
        fail "the second build could not replay $demo"
    [ "$line" = "$(cat "${demo%.demo}.line")" ] || fail "$demo: kept '$(cat "${demo%.demo}.line")', the second build replayed '$line'"
done
echo "other_build: $other replayed the level bot's '$recorded' and the golden demos"
