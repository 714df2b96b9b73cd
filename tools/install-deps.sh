#!/bin/sh
# Installs the Debian packages the build, the game and the tests need, and
# only those that are missing: a machine that has them all is not touched.
# Runs as root or through sudo. On a system without dpkg it only says what it
# would need and leaves the rest to the build.
set -eu

packages="g++ cmake make pkg-config
libsdl2-dev libsdl2-image-dev libx11-dev
libgl-dev libgl1-mesa-dev libglu1-mesa-dev
libegl1 libegl-mesa0 libgl1-mesa-dri
libgtest-dev xvfb xdotool x11-utils
desktop-file-utils appstream"

# Extra groups on request, e.g. "install-deps.sh bench" or "install-deps.sh fuzz".
for group in "$@"; do
    case "$group" in
        bench) packages="$packages libbenchmark-dev valgrind time python3" ;;
        fuzz) packages="$packages clang libclang-rt-14-dev" ;;
        art) packages="$packages fonts-dejavu-core libsdl2-ttf-dev" ;;
        *) echo "install-deps: unknown group '$group'" >&2; exit 2 ;;
    esac
done

if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "install-deps: no dpkg here; please install the equivalents of: $packages" >&2
    exit 0
fi

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    run=""
elif command -v sudo >/dev/null 2>&1; then
    run="sudo"
else
    echo "install-deps: missing packages:$missing (run as root or install sudo)" >&2
    exit 1
fi
echo "install-deps: installing$missing"
$run apt-get update -q
DEBIAN_FRONTEND=noninteractive $run apt-get install -y -q --no-install-recommends $missing
