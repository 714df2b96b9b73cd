#!/bin/sh
# Checks that a generator of the files in data/ is reproducible: runs it
# twice into fresh directories, compares the two byte for byte, then compares
# what it made with the data directory. Files there that match PATTERN but
# that the generator no longer makes are reported too: they would still be
# installed.
#
#   reproducible-check.sh TARGET TOOL DATA-DIR PATTERN
#
# TARGET is the make target that remakes them (art, sfx).
set -eu
target=$1 tool=$2 data=$3 pattern=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/a" "$tmp/b"
"$tool" "$tmp/a" >/dev/null
"$tool" "$tmp/b" >/dev/null
status=0
say() { echo "$target-check: $*" >&2; status=1; }
if ! diff -r "$tmp/a" "$tmp/b" >/dev/null; then
    say "two runs made different bytes:"
    diff -rq "$tmp/a" "$tmp/b" >&2 || true
fi
count=0
for file in "$tmp/a"/*; do
    [ -f "$file" ] || { say "$tool made nothing"; break; }
    name=$(basename "$file")
    count=$((count + 1))
    if [ ! -f "$data/$name" ]; then
        say "$data/$name is missing"
    elif ! cmp -s "$file" "$data/$name"; then
        say "$data/$name differs from what $tool makes"
    fi
done
for file in "$data"/$pattern; do
    [ -f "$file" ] || continue
    [ -f "$tmp/a/$(basename "$file")" ] || say "$file is not made by $tool"
done
if [ "$status" -eq 0 ]; then
    echo "$target-check: $count files made twice alike and equal to $data/"
else
    echo "$target-check: run 'make $target' to make them again in $data/" >&2
fi
exit "$status"
