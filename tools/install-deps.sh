#!/bin/sh
# Installs the Debian packages a task needs, and only those that are missing:
# a machine that has them all is not touched and nothing is printed.
#
#   install-deps.sh [GROUP]...
#
# Without a group: what building and playing need, nothing more. The groups
# add to that:
#   test   the test harness, the virtual X server and its tools, the
#          validators of the desktop entry and the metainfo
#   deb    building the Debian package and checking it (make deb)
#   web    the browser build: the WebAssembly compiler, and the tools that
#          unpack Debian's source packages of the libraries it builds
#   windows  the Windows build: the cross-compiler for 64-bit Windows (its
#          posix thread model), the same source tools, and zip
#   bare   making bare Debian systems (make bare-check)
#   bench, fuzz, art   the measurements, the fuzzers, the picture generator
#
# Runs as root or through sudo. On a system without dpkg it only says what it
# would need and leaves the rest to the build.
set -eu

# Compiler and build tools, SDL2, SDL2_image and SDL2_mixer, OpenGL and GLU with Mesa's
# drivers (llvmpipe draws where there is no graphics card), and the INI reader
# of the settings file.
packages="g++ cmake make pkg-config
libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev
libgl-dev libglu1-mesa-dev libgl1-mesa-dri libinih-dev"

for group in "$@"; do
    case "$group" in
        # The headless tests draw through EGL on SDL's offscreen driver. SDL's
        # own message box on X11 needs the server's core fonts, which Xvfb
        # only recommends (xfonts-base). The install test reads the manual
        # page with man, as lintian does. The sanitizer build's leak checker
        # names what the loader and the C library keep (and its suppressions
        # match it) only with their symbols (libc6-dbg). Demos must replay
        # on a second build of the game made by clang. The sound test plays
        # on a PulseAudio server of its own and records it (pulseaudio-utils).
        # The Windows game is played under Wine, whose dialogs need its fonts.
        test) packages="$packages libgtest-dev libegl1 libegl-mesa0 libx11-dev libc6-dbg clang
                        xvfb xfonts-base xdotool x11-utils desktop-file-utils appstream man-db
                        openbox pulseaudio pulseaudio-utils chromium wine wine64 fonts-wine"
              # The browser build's page is tested in Debian's Chromium, driven
              # from Node.js by a package npm installs. A Node.js from
              # elsewhere brings its own npm, which Debian's would conflict with.
              command -v npm >/dev/null 2>&1 || packages="$packages nodejs npm" ;;
        web) packages="$packages emscripten node-acorn dpkg-dev" ;;
        windows) packages="$packages g++-mingw-w64-x86-64-posix dpkg-dev zip" ;;
        deb) packages="$packages dpkg-dev lintian" ;;
        bare) packages="$packages debootstrap" ;;
        bench) packages="$packages libbenchmark-dev valgrind time python3 pulseaudio" ;;
        fuzz) packages="$packages clang libclang-rt-14-dev" ;;
        art) packages="$packages fonts-dejavu-core libsdl2-ttf-dev" ;;
        *) echo "install-deps: unknown group '$group'" >&2; exit 2 ;;
    esac
done

if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "install-deps: no dpkg here; please install the equivalents of:" $packages >&2
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
$run env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
