#!/bin/sh
# Checks that the pictures are reproducible: draws them twice into fresh
# directories, compares the two byte for byte, then compares them with
# data/. Usage: check.sh PATH-TO-vantrel-art DATA-DIR
set -eu
tool=$1
data=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/a" "$tmp/b"
"$tool" "$tmp/a" >/dev/null
"$tool" "$tmp/b" >/dev/null
status=0
if ! diff -r "$tmp/a" "$tmp/b" >/dev/null; then
    echo "art-check: two runs drew different bytes:" >&2
    diff -rq "$tmp/a" "$tmp/b" >&2 || true
    status=1
fi
count=0
for file in "$tmp/a"/*; do
    name=$(basename "$file")
    count=$((count + 1))
    if [ ! -f "$data/$name" ]; then
        echo "art-check: $data/$name is missing" >&2
        status=1
    elif ! cmp -s "$file" "$data/$name"; then
        echo "art-check: $data/$name differs from what tools/art draws" >&2
        status=1
    fi
done
if [ "$status" -eq 0 ]; then
    echo "art-check: $count pictures drawn twice alike and equal to $data/"
else
    echo "art-check: run 'make art' to redraw $data/" >&2
fi
exit "$status"
