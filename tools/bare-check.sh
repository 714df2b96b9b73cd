#!/bin/sh
# make bare-check: proves the README's set-up on bare Debian 12 systems.
#
# System 1 is a minimal Debian (debootstrap --variant=minbase) with nothing
# added but make; a clean clone of this commit runs make play (as far as
# --version), make test and make deb there, as a new user would.
# System 2 is another bare system that installs the package built in system 1
# with apt-get, plays the installed game as a player would, and purges it.
#
# Runs as root: the systems are chroots with /proc, /sys, /dev and /dev/pts
# mounted, and every mount is taken down again however the check ends
# (success, a failed step, Ctrl-C). Prints how long each step took and ends
# non-zero when any step fails.
#
# Environment: BARE_DIR (the systems, default build-bare/), BARE_CACHE (the
# downloaded base tree, kept between runs, default /var/cache/vantrel-bare),
# BARE_KEEP=1 keeps the systems after a successful run.
set -eu
[ "$(id -u)" -eq 0 ] || { echo "bare-check: run as root (it makes chroots)" >&2; exit 1; }
cd "$(dirname "$0")/.."
repo=$PWD
work=${BARE_DIR:-$repo/build-bare}
cache=${BARE_CACHE:-/var/cache/vantrel-bare}
suite=bookworm
arch=$(dpkg --print-architecture)
base="$cache/$suite-$arch-minbase"
one="$work/system-1" two="$work/system-2"
summary=""

say() { echo "bare-check: $*"; }

# The package source apt-get on this machine uses for a suite, from its policy.
mirror_of() {
    apt-cache policy | awk -v s="$1/main" '$3 == s && $2 ~ /^https?:/ { print $2; exit }'
}

# --- mounts and their cleanup ------------------------------------------------

mounts_under() { awk -v d="$1/" 'index($2, d) == 1 { print $2 }' /proc/mounts | sort -r; }

# Ends every process whose root is inside the tree (Xvfb, a hung test), then
# takes down its mounts, deepest first.
release() {
    for p in /proc/[0-9]*; do
        r=$(readlink "$p/root" 2>/dev/null) || continue
        case "$r" in "$1"|"$1"/*) kill -9 "${p#/proc/}" 2>/dev/null || true ;; esac
    done
    for m in $(mounts_under "$1"); do umount "$m" 2>/dev/null || umount -l "$m" || true; done
}

cleanup() {
    trap - EXIT INT TERM
    release "$work"
    release "$cache"
}
trap cleanup EXIT
trap 'say "interrupted"; cleanup; exit 130' INT TERM

mount_system() {
    mount -t proc proc "$1/proc"
    mount -t sysfs sysfs "$1/sys"
    mount --bind /dev "$1/dev"
    mount --bind /dev/pts "$1/dev/pts"
}

# Removes a system tree, never while anything is mounted inside it.
remove_tree() {
    [ -e "$1" ] || return 0
    release "$1"
    [ -z "$(mounts_under "$1")" ] || { say "$1 still has mounts; not removing it"; return 1; }
    rm -rf --one-file-system "$1"
}

# Runs a command in a system as a new root login would: a clean environment.
in_system() {
    root=$1; shift
    chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" NODE_EXTRA_CA_CERTS=/etc/ssl/this-machine-ca.crt \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/sh -c "$*"
}

# --- steps -------------------------------------------------------------------

# Runs a step with its own `set -e`, records its time, stops on failure.
step() {
    name=$1; shift
    say "== $name"
    start=$(date +%s)
    set +e
    ( set -e; "$@" )
    status=$?
    set -e
    elapsed=$(($(date +%s) - start))
    result=$([ $status -eq 0 ] && echo ok || echo "FAILED ($status)")
    summary="$summary$(printf '  %-52s %5d s  %s' "$name" "$elapsed" "$result")
"
    say "$name: $result after $elapsed s"
    [ $status -eq 0 ] && return 0
    report
    say "the systems are left in $work for a look"
    exit 1
}

report() { say "steps:"; printf '%s' "$summary"; }

make_base() {
    if [ -x "$base/bin/sh" ]; then say "using the cached base tree $base"; return; fi
    rm -rf --one-file-system "$base.partial"
    mkdir -p "$cache"
    debootstrap --variant=minbase "$suite" "$base.partial" "$main" >"$cache/debootstrap.log" 2>&1 ||
        { tail -n 20 "$cache/debootstrap.log"; return 1; }
    mv "$base.partial" "$base"
}

# A fresh copy of the base tree, its apt pointed at this machine's sources.
new_system() {
    remove_tree "$1"
    mkdir -p "$work"
    cp -a "$base" "$1"
    cp /etc/resolv.conf /etc/hosts "$1/etc/"
    # The certificates this machine trusts, for Node.js (npm) in the system:
    # where the registry is reached through a proxy of the network's own, a
    # new machine trusts its authority as this one does.
    mkdir -p "$1/etc/ssl"
    cp /etc/ssl/certs/ca-certificates.crt "$1/etc/ssl/this-machine-ca.crt" 2>/dev/null || : >"$1/etc/ssl/this-machine-ca.crt"
    rm -f "$1/etc/apt/sources.list.d/"*
    {
        echo "deb $main $suite main"
        echo "deb $main $suite-updates main"
        [ -n "$security" ] && echo "deb $security $suite-security main"
    } >"$1/etc/apt/sources.list"
    # Nothing installed here may start a service: this is a chroot, not a boot.
    printf '#!/bin/sh\nexit 101\n' >"$1/usr/sbin/policy-rc.d"
    chmod 755 "$1/usr/sbin/policy-rc.d"
    mount_system "$1"
}

system_one() {
    new_system "$one"
    git clone -q --no-local "$repo" "$one/root/vantrel"
}

install_make() { in_system "$one" "apt-get update -q >/dev/null && apt-get install -y -q --no-install-recommends make >/dev/null"; }

# make play installs only what building and playing need; --version runs the
# program it built without needing a display.
make_play() { in_system "$one" "cd /root/vantrel && make play ARGS=--version"; }

make_test() { in_system "$one" "cd /root/vantrel && make test"; }

# The package, and what system 2 needs to look at the installed game's
# window: the snapshot tools and the title as the headless renderer draws it.
make_deb() {
    in_system "$one" "cd /root/vantrel && make deb"
    in_system "$one" "cd /root/vantrel && SDL_VIDEODRIVER=offscreen build/screenshot /tmp/title.png 3"
    mkdir -p "$two.tools"
    clone="$one/root/vantrel"
    cp "$clone"/vantrel_*.deb "$clone/build/tests/x11_snapshot" \
       "$clone/build/tests/png_pixels" "$one/tmp/title.png" "$clone/tools/installed-check.sh" \
       "$clone/tests/xvfb.sh" "$two.tools/"
}

system_two() {
    new_system "$two"
    mkdir -p "$two/srv/check"
    cp "$two.tools"/* "$two/srv/check/"
    chmod -R a+rX "$two/srv/check"
}

# With --no-install-recommends: the package's Depends alone must bring
# everything the game needs.
install_deb() {
    in_system "$two" "apt-get update -q >/dev/null &&
        apt-get install -y -q --no-install-recommends /srv/check/vantrel_*.deb >/dev/null"
}

# A player's account (its PATH has /usr/games) plays the installed game on a
# virtual X server; the server, the tools to look at its window and the
# validators are the check's, not the game's.
player_checks() {
    in_system "$two" "apt-get install -y -q --no-install-recommends xvfb xfonts-base x11-utils xdotool \
        desktop-file-utils appstream >/dev/null &&
        useradd --create-home player"
    in_system "$two" "su - player -c 'sh /srv/check/installed-check.sh play /srv/check'"
}

purge_check() { in_system "$two" "sh /srv/check/installed-check.sh purge /srv/check"; }

# --- the check -----------------------------------------------------------------

main=$(mirror_of "$suite")
security=$(mirror_of "$suite-security")
[ -n "$main" ] || { say "apt-get here has no source for $suite (run apt-get update?)"; exit 1; }
say "package source: $main${security:+ and $security}"
git -C "$repo" diff --quiet HEAD || say "note: uncommitted changes are not checked, only commit $(git -C "$repo" rev-parse --short HEAD)"

step "base system (debootstrap --variant=minbase)" make_base
step "system 1: a copy of the base, a clean clone" system_one
step "system 1: apt-get install make" install_make
step "system 1: make play (builds, runs --version)" make_play
step "system 1: make test" make_test
step "system 1: make deb (with lintian)" make_deb
step "system 2: a copy of the base" system_two
step "system 2: apt-get install ./vantrel_*.deb" install_deb
step "system 2: the installed game, as a player" player_checks
step "system 2: apt-get purge vantrel" purge_check
report
cleanup
if [ "${BARE_KEEP:-0}" != 1 ]; then
    remove_tree "$one"
    remove_tree "$two"
    rm -rf "$two.tools"
fi
say "passed"
