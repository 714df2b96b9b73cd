#!/bin/sh
# --play-demo reads its file as a stream, in bounded memory: what does not
# begin as a demo is refused at once (/dev/zero, /dev/urandom, a 1 GiB file
# of zeros, a FIFO fed zeros without end, a directory), a demo past the
# largest size a demo may have is refused (a file, and a FIFO fed without
# end), and a FIFO fed a real demo replays it. The refusals run with their
# memory bounded well below what reading such a stream whole would take.
#
#   demo_sources_test.sh GAME [sanitized]     (from the source tree)
set -u
game="$1" sanitized="${2:-}"
out=$(mktemp -d)
feeder=""
trap '[ -n "$feeder" ] && kill "$feeder" 2>/dev/null; rm -rf "$out"' EXIT
trap '' PIPE  # a feeder whose reader has gone ends on the write error, and says how much it wrote
fail() {
    echo "demo_sources: $*" >&2
    cat "$out"/*.err >&2 2>/dev/null
    exit 1
}
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

# 300 MB: the program and its libraries take a small part of it; a stream
# read whole would take all. The address sanitizer reserves far more address
# space than that for itself, so there the resident size is bounded instead.
bounded() {
    if [ -n "$sanitized" ]; then
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:hard_rss_limit_mb=300" "$@"
    else
        (ulimit -v 300000 && exec "$@")
    fi
}

# Refused, exit status 1, saying why.
refused() {
    source="$1" why="$2"
    bounded "$game" --no-vsync --play-demo "$source" >"$out/refused.txt" 2>"$out/refused.err"
    status=$?
    [ "$status" -eq 1 ] || fail "$source: exit status $status"
    grep -qF "cannot replay $source: $why" "$out/refused.err" || fail "$source: not refused with '$why'"
    [ ! -s "$out/refused.txt" ] || fail "$source: it was replayed"
}

# Feeds the FIFO from a command in the background.
mkfifo "$out/fifo"
feed() {
    "$@" > "$out/fifo" 2>"$out/feed.log" &
    feeder=$!
}
fed() {
    wait "$feeder"
    feeder=""
}

refused /dev/zero "it is not a demo"
refused /dev/urandom "it is not a demo"
truncate -s 1G "$out/zeros"
refused "$out/zeros" "it is not a demo"
mkdir "$out/dir"
refused "$out/dir" "Is a directory"
# Zeros through a FIFO: the first line's worth is read, not much more is
# written into the pipe before the reader goes.
feed dd if=/dev/zero bs=65536
refused "$out/fifo" "it is not a demo"
fed
written=$(sed -n 's/^\([0-9]*\) bytes.*/\1/p' "$out/feed.log")
[ "${written:-0}" -le 1048576 ] || fail "the FIFO took $written bytes of zeros before they were refused"
printf 'vantrel-demo 2\n' > "$out/huge.demo"
truncate -s 65M "$out/huge.demo"
refused "$out/huge.demo" "it is larger than any demo (64 MiB)"
feed sh -c 'printf "vantrel-demo 2\n"; exec cat /dev/zero'
refused "$out/fifo" "it is larger than any demo (64 MiB)"
fed

# A real demo through a FIFO replays as from its file.
recorded=$("$game" --window --no-vsync --quit-after 120 --record "$out/game.demo" 2>"$out/record.err")
[ $? -eq 27 ] || fail "the recording did not end as --quit-after ends a game"
feed cat "$out/game.demo"
replayed=$("$game" --no-vsync --play-demo "$out/fifo" 2>"$out/fifo.err") || fail "the demo through a FIFO failed"
fed
[ "$replayed" = "$recorded" ] || fail "recorded '$recorded', replayed through a FIFO '$replayed'"
echo "demo_sources: streams refused at once or at the size limit; '$recorded' replayed through a FIFO"
