#!/bin/sh
# Checks that the sound effects are reproducible: synthesises them twice into
# fresh directories, compares the two byte for byte, then compares them with
# data/ (only the sfx-*.wav files). Usage: check.sh PATH-TO-vantrel-sfx DATA-DIR
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
    echo "sfx-check: two runs made different bytes:" >&2
    diff -rq "$tmp/a" "$tmp/b" >&2 || true
    status=1
fi
count=0
for file in "$tmp/a"/sfx-*.wav; do
    [ -f "$file" ] || { echo "sfx-check: $tool wrote no sfx-*.wav" >&2; status=1; break; }
    name=$(basename "$file")
    count=$((count + 1))
    if [ ! -f "$data/$name" ]; then
        echo "sfx-check: $data/$name is missing" >&2
        status=1
    elif ! cmp -s "$file" "$data/$name"; then
        echo "sfx-check: $data/$name differs from what tools/sfx makes" >&2
        status=1
    fi
done
# A file left in data/ that the tool no longer makes would still be installed.
for file in "$data"/sfx-*.wav; do
    [ -f "$file" ] || continue
    name=$(basename "$file")
    if [ ! -f "$tmp/a/$name" ]; then
        echo "sfx-check: $data/$name is not made by tools/sfx" >&2
        status=1
    fi
done
if [ "$status" -eq 0 ]; then
    echo "sfx-check: $count sounds made twice alike and equal to $data/"
else
    echo "sfx-check: run 'make sfx' to remake them in $data/" >&2
fi
exit "$status"
