#!/bin/sh
# cmake --install into a temporary prefix: every file in its place, the
# desktop entry and the AppStream metainfo valid, the manual page clean of
# man's warnings, and the installed game, started headless from a directory
# that has nothing to do with it, finds its data through its own location,
# also after the installed tree is moved.
# Alone, without its data, it says where it looked and plays on.
#
#   install_test.sh BUILD-DIR SOURCE-DIR CONFIGURED-DATA-DIR
set -u
build=$1 source=$2 configured=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "install: $*" >&2; exit 1; }
unset VANTREL_DATADIR

cmake --install "$build" --prefix "$tmp/usr" >/dev/null || fail "cmake --install failed"
for f in bin/vantrel share/vantrel/data/level0.lvl.txt share/vantrel/data/vantreltitle.jpg \
         share/vantrel/data/CA54R2JR_00.tga share/applications/org.vantrel.Vantrel.desktop \
         share/metainfo/org.vantrel.Vantrel.metainfo.xml share/icons/hicolor/256x256/apps/vantrel.png \
         share/icons/hicolor/64x64/apps/vantrel.png share/doc/vantrel/README.md \
         share/doc/vantrel/levels.md share/doc/vantrel/README.data share/man/man6/vantrel.6.gz; do
    [ -f "$tmp/usr/$f" ] || fail "$f was not installed"
done
# data/ holds the game's pictures and levels and nothing else.
expected=$(ls "$source/data" | grep -E '\.(tga|jpg)$|^level[0-9]+\.lvl\.txt$|^sfx-.*\.wav$' | sort)
installed=$(ls "$tmp/usr/share/vantrel/data" | sort)
[ "$installed" = "$expected" ] || fail "share/vantrel/data holds other files than the game's"

desktop-file-validate "$tmp/usr/share/applications/org.vantrel.Vantrel.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$tmp/usr/share/metainfo/org.vantrel.Vantrel.metainfo.xml" >"$tmp/appstream" 2>&1 ||
    fail "the metainfo is not valid: $(cat "$tmp/appstream")"
# The manual page as Debian's checks read it: man's own warnings, none
# allowed. It names the places this build installs to.
page="$tmp/usr/share/man/man6/vantrel.6.gz"
command -v man >/dev/null || fail "man (Debian's man-db) is needed to check the manual page"
LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null |
    grep . && fail "the manual page has the warnings above"
gzip -dc "$page" | grep -qF "$configured" || fail "the manual page does not name $configured"

mkdir "$tmp/elsewhere"
cd "$tmp/elsewhere" || fail "no directory to start from"
# Runs the game headless in a window for 30 frames; its standard error goes to $tmp/err.
play() {
    SDL_VIDEODRIVER=offscreen "$1" --window --quit-after 30 2>"$tmp/err"
    status=$?
    [ "$status" -eq 27 ] || fail "$1 ended with $status, not 27 (ESC): $(cat "$tmp/err")"
}

play "$tmp/usr/bin/vantrel"
[ -s "$tmp/err" ] && fail "the installed game said: $(cat "$tmp/err")"
"$tmp/usr/bin/vantrel" --check-level "$tmp/usr/share/vantrel/data/"level*.lvl.txt >"$tmp/out" 2>&1 ||
    fail "the installed levels do not check clean with the installed pictures: $(cat "$tmp/out")"

mv "$tmp/usr" "$tmp/moved"
play "$tmp/moved/bin/vantrel"
[ -s "$tmp/err" ] && fail "the moved game said: $(cat "$tmp/err")"

mkdir "$tmp/alone"
cp "$tmp/moved/bin/vantrel" "$tmp/alone/"
if [ ! -e "$configured/data/level0.lvl.txt" ]; then
    play "$tmp/alone/vantrel"
    grep -q "found no game data" "$tmp/err" || fail "the game alone did not say it found no data"
    grep -q "$tmp/share/vantrel/data/level0.lvl.txt  (installed, relative to the program)" "$tmp/err" ||
        fail "the game alone did not say where it looked: $(cat "$tmp/err")"
fi
echo "install: installed, valid, and found its data from elsewhere"
