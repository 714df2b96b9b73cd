#!/bin/sh
# Builds SDL2, SDL2_image and SDL2_mixer for another target from Debian's own
# source packages, the very versions the desktop build links, and prints the
# prefix they were installed into.
#
#   build-libs.sh web|windows
#
# The sources come from `apt-get source` through a private apt configuration
# (its own deb-src entries, lists and cache under the build directory), so the
# machine's apt configuration stays as it is. The libraries are built once per
# machine into a cache keyed by the three versions, the toolchain's version and
# this script, so that later builds only build the game:
#   $LIBS_CACHE (default /var/cache/vantrel-libs)/TARGET-KEY/
# Everything is static, with only what the game reads: TGA and JPEG pictures
# (SDL2_image's own TGA loader and its stb JPEG decoder) and WAV sounds. The
# sources' copyright records go into licences/.
# Progress goes to stderr, with the log of each step in the cache.
set -eu
target=${1:?usage: build-libs.sh web|windows}
cd "$(dirname "$0")/.."
repo=$PWD
cache=${LIBS_CACHE:-/var/cache/vantrel-libs}
jobs=$(nproc 2>/dev/null || echo 2)

say() { echo "build-libs: $*" >&2; }

# The source version of the installed package that builds the desktop game.
source_version() { dpkg-query -W -f='${source:Version}' "$1"; }
sdl=$(source_version libsdl2-dev)
image=$(source_version libsdl2-image-dev)
mixer=$(source_version libsdl2-mixer-dev)

sdl_flags=""  # C flags for building SDL2, where a target needs some
case "$target" in
    web)
        toolchain="emscripten-$(dpkg-query -W -f='${Version}' emscripten)"
        configure() { emcmake cmake "$@"; }
        # A page has no threads for SDL to start. Nor does it need what the
        # game never asks of SDL there: its 2D renderer (the game draws with
        # OpenGL), haptics, sensors, power, locales, URLs or the disk audio
        # driver (the dummy driver stays: the audio subsystem starts on it).
        sdl_options="-DSDL_THREADS=OFF -DSDL_RENDER=OFF -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF
                     -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_DISKAUDIO=OFF"
        # SDL's tuned converters of pixels from one format to another are a
        # fifth of the page's program, and a picture meets them only when its
        # format is none the game copies itself (platform/picture.cpp): SDL's
        # general converter does those (the same pixels, more slowly), bar
        # those with a palette, whose converters stay.
        sdl_flags="-DSDL_LEAN_AND_MEAN=1 -DSDL_HAVE_BLIT_1=1"
        image_options=""
        ;;
    windows)
        toolchain="mingw-w64-$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)-$(sha256sum cmake/mingw-w64.cmake | cut -c1-8)"
        configure() { cmake -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" "$@"; }
        # The sound opens on a thread of its own; controllers through
        # Windows' own interfaces.
        sdl_options="-DSDL_THREADS=ON"
        # The pictures through the same decoders as everywhere, not Windows'
        # imaging component.
        image_options="-DSDL2IMAGE_BACKEND_WIC=OFF"
        ;;
    *) echo "build-libs: unknown target '$target'" >&2; exit 2 ;;
esac

script_sum=$(sha256sum "$0" | cut -c1-12)
key=$(printf '%s\n' "$sdl" "$image" "$mixer" "$toolchain" "$script_sum" | sha256sum | cut -c1-16)
prefix="$cache/$target-$key"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work="$cache/$target-$key.work"
rm -rf "$work" "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial" "$work/src" "$prefix"
log="$work/build.log"
say "building SDL2 $sdl, SDL2_image $image and SDL2_mixer $mixer for $target with $toolchain (once per machine; log in $log)"
started=$(date +%s)

# The private apt configuration: deb-src entries for the suites the machine's
# own sources name, read from its policy.
mirror_of() { apt-cache policy | awk -v s="$1/main" '$3 == s && $2 ~ /^https?:/ { print $2; exit }'; }
main=$(mirror_of bookworm)
security=$(mirror_of bookworm-security)
[ -n "$main" ] || { echo "build-libs: no Debian 12 (bookworm) source found in apt's policy" >&2; exit 1; }
{
    echo "deb-src $main bookworm main"
    echo "deb-src $main bookworm-updates main"
    [ -n "$security" ] && echo "deb-src $security bookworm-security main"
} >"$work/apt/sources.list"
apt_private() {
    apt-get -q -o Dir::Etc::SourceList="$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null \
        -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache::Archives="$work/apt/archives" \
        -o Dir::Cache::pkgcache="" -o Dir::Cache::srcpkgcache="" "$@"
}
step() {
    what=$1
    shift
    say "$what"
    if ! "$@" >>"$log" 2>&1; then
        tail -n 30 "$log" >&2
        say "$what failed; the whole log is $log"
        exit 1
    fi
}
step "reading the source lists" apt_private update
cd "$work/src"
step "fetching the sources" apt_private source --only-source "libsdl2=$sdl" "libsdl2-image=$image" "libsdl2-mixer=$mixer"
cd "$repo"
# The unpacked tree of a source package: its name, then the version's digits.
dir_of() { find "$work/src" -mindepth 1 -maxdepth 1 -type d -name "$1-[0-9]*" | head -n 1; }

common="-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$prefix -DCMAKE_PREFIX_PATH=$prefix
        -DCMAKE_FIND_ROOT_PATH=$prefix -DBUILD_SHARED_LIBS=OFF"
build() {
    lib=$1 src=$2
    shift 2
    step "configuring $lib" configure -S "$src" -B "$work/build-$lib" $common "$@"
    step "building $lib" cmake --build "$work/build-$lib" -j "$jobs"
    step "installing $lib" cmake --install "$work/build-$lib"
}
build SDL2 "$(dir_of libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF $sdl_options \
    ${sdl_flags:+"-DCMAKE_C_FLAGS=$sdl_flags"}
build SDL2_image "$(dir_of libsdl2-image)" $image_options -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_VENDORED=OFF \
    -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_TGA=ON -DSDL2IMAGE_JPG=ON \
    -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_BMP=OFF -DSDL2IMAGE_GIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_LBM=OFF \
    -DSDL2IMAGE_PCX=OFF -DSDL2IMAGE_PNG=OFF -DSDL2IMAGE_PNM=OFF -DSDL2IMAGE_QOI=OFF -DSDL2IMAGE_SVG=OFF \
    -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF -DSDL2IMAGE_XV=OFF
build SDL2_mixer "$(dir_of libsdl2-mixer)" -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_WAVE=ON -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_MP3=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF

# Their terms, for a package that bundles them: each source package's record
# of the copyright and licences of everything in it.
mkdir -p "$prefix/licences"
cp "$(dir_of libsdl2)/debian/copyright" "$prefix/licences/SDL2.txt"
cp "$(dir_of libsdl2-image)/debian/copyright" "$prefix/licences/SDL2_image.txt"
cp "$(dir_of libsdl2-mixer)/debian/copyright" "$prefix/licences/SDL2_mixer.txt"
printf 'SDL2 %s\nSDL2_image %s\nSDL2_mixer %s\n%s\n' "$sdl" "$image" "$mixer" "$toolchain" >"$prefix/versions"
cp "$log" "$prefix/build.log"
rm -rf "$work"
touch "$prefix/.complete"
say "done in $(( $(date +%s) - started )) s"
echo "$prefix"
