#!/bin/sh
# The installed Debian package, looked at as a player and a packager would
# (run by bare-check.sh inside a bare system that has installed it).
#
#   installed-check.sh play DIR    as a player: the program on PATH, its
#                                  version, its levels clean, its desktop
#                                  entry and metainfo valid, its window on a
#                                  virtual X server showing the title
#   installed-check.sh purge DIR   as root: apt-get purge leaves nothing behind
#
# DIR holds x11_snapshot, png_pixels, title.png (the title as the headless
# renderer draws it) and the tests' xvfb.sh.
set -u
mode=$1 tools=$2
tmp=$(mktemp -d)
fail() {
    echo "installed-check: $*" >&2
    [ -s "$tmp/err" ] && sed 's/^/  game: /' "$tmp/err" >&2
    exit 1
}

# Runs a check every tenth of a second for up to 20 s.
eventually() {
    i=0
    until "$@"; do i=$((i + 1)); [ $i -ge 200 ] && return 1; sleep 0.1; done
}

title_shown() {
    "$tools/x11_snapshot" "$win" "$tmp/shown.png" $title_points >"$tmp/shown.txt" || return 1
    colours_close "$tmp/shown.txt" "$tmp/expected.txt"
}

play() {
    [ "$(command -v vantrel)" = /usr/games/vantrel ] || fail "vantrel is not /usr/games/vantrel on a player's PATH"
    vantrel --version | grep -q '^vantrel [0-9]' || fail "vantrel --version said: $(vantrel --version 2>&1)"
    set -- /usr/share/games/vantrel/data/level*.lvl.txt
    [ $# -ge 6 ] || fail "only $# levels installed"
    vantrel --check-level "$@" >"$tmp/check" 2>&1 || fail "the installed levels are not clean: $(cat "$tmp/check")"
    echo "installed-check: $(vantrel --version), $# levels clean"
    desktop-file-validate /usr/share/applications/org.vantrel.Vantrel.desktop ||
        fail "the installed desktop entry is not valid"
    appstreamcli validate --no-net /usr/share/metainfo/org.vantrel.Vantrel.metainfo.xml >"$tmp/check" 2>&1 ||
        fail "the installed metainfo is not valid: $(cat "$tmp/check")"
    [ -f /usr/share/man/man6/vantrel.6.gz ] || fail "no manual page vantrel(6)"

    xvfb=""
    trap 'kill $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
    start_xvfb || fail "Xvfb did not start"

    # As documented: --quit-after ends the game as ESC does, with status 27.
    vantrel --window --quit-after 120 2>"$tmp/err"
    status=$?
    [ $status -eq 27 ] || fail "vantrel --window --quit-after 120 ended with $status, not 27"
    # This system has no sound device: the game says so in one line, and
    # writes nothing else.
    grep -v '^vantrel: no sound (.*); the game plays on silently$' "$tmp/err" >"$tmp/other"
    [ -s "$tmp/other" ] && fail "the game wrote on standard error"
    [ "$(grep -c '^vantrel: no sound' "$tmp/err")" -le 1 ] || fail "the missing sound device was told more than once"

    # Long enough to look at its window, then ESC.
    "$tools/png_pixels" "$tools/title.png" $title_points >"$tmp/expected.txt" || fail "cannot read title.png"
    vantrel --window --quit-after 100000 2>"$tmp/err" &
    game=$!
    win=$(find_window "Vantrel Remake") || fail "no window named Vantrel Remake"
    eventually title_shown ||
        fail "the window does not show the title: $(paste -d'|' "$tmp/shown.txt" "$tmp/expected.txt" | tr '\n' ' ')"
    xdotool windowfocus --sync "$win" 2>/dev/null
    xdotool keydown Escape; sleep 0.2; xdotool keyup Escape
    wait $game
    status=$?
    [ $status -eq 27 ] || fail "ESC ended the game with $status, not 27"
    echo "installed-check: played in a window under Xvfb: the title shown, exit status 27"
}

# Every file on the system but the churn of package management and of the
# running system.
files() {
    find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp -o -path /var/tmp \
        -o -path /var/cache -o -path /var/lib/apt -o -path /var/lib/dpkg -o -path /var/log \
        -o -path /srv/check \) -prune -o -print | sort
}

purge() {
    dpkg -L vantrel | sort >"$tmp/owned"
    files >"$tmp/before"
    apt-get purge -y -q vantrel >/dev/null || fail "apt-get purge vantrel failed"
    files >"$tmp/after"
    dpkg-query -W -f='${Status}' vantrel 2>/dev/null | grep -q 'install ok installed' && fail "vantrel is still known to dpkg"
    comm -13 "$tmp/before" "$tmp/after" >"$tmp/new"
    [ -s "$tmp/new" ] && fail "purging left new files: $(head -n 5 "$tmp/new")"
    # What went must all have been the package's own.
    comm -23 "$tmp/before" "$tmp/after" | comm -23 - "$tmp/owned" >"$tmp/foreign"
    [ -s "$tmp/foreign" ] && fail "purging removed files not of the package: $(head -n 5 "$tmp/foreign")"
    # Directories may stay when other packages hold them; no file of the package may.
    while read -r f; do
        [ -e "$f" ] && [ ! -d "$f" ] && echo "$f"
    done <"$tmp/owned" >"$tmp/left"
    [ -s "$tmp/left" ] && fail "left behind after purging: $(head -n 5 "$tmp/left")"
    echo "installed-check: apt-get purge vantrel removed its $(wc -l <"$tmp/owned") paths and left nothing behind"
}

. "$tools/xvfb.sh"
trap 'rm -rf "$tmp"' EXIT
case "$mode" in
    play) play ;;
    purge) purge ;;
    *) fail "unknown mode '$mode'" ;;
esac
