#!/bin/sh
# Builds vantrel_VERSION_ARCH.deb in the current directory (the top of the
# source tree), laid out as Debian's games are, and checks it with lintian.
#
#   make-deb.sh BUILD-DIR
#
# We build with cmake --install into a staging tree and dpkg-deb rather than
# CPack: the control file, the documentation's compression and the stripping
# then follow Debian's rules exactly, and Depends comes straight from
# dpkg-shlibdeps, the tool Debian's own packages use.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build-deb}
stage="$build/stage"
version=$(sed -n 's/^project(vantrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
deb="vantrel_${version}_${arch}.deb"
umask 022

# Debian's optimisation and hardening flags (read by CMake when it first
# configures the directory, so the directory is configured afresh).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None -DVANTREL_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
    -DVANTREL_DATA_DIR=share/games/vantrel >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" >/dev/null
DESTDIR="$PWD/$stage" cmake --install "$build" >/dev/null

# As Debian's helpers leave a package: the program without symbols or the
# compiler's notes, the documentation's changelog compressed, the copyright
# beside it.
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage/usr/games/vantrel"
doc="$stage/usr/share/doc/vantrel"
gzip -9n -c dist/changelog >"$doc/changelog.gz"
cp dist/copyright "$doc/copyright"

# Depends from the libraries the program really links against. The tool
# wants a debian/control to read, so it is given a minimal one.
mkdir -p "$build/shlibs/debian"
printf 'Source: vantrel\n\nPackage: vantrel\nArchitecture: any\n' >"$build/shlibs/debian/control"
depends=$(cd "$build/shlibs" && dpkg-shlibdeps -O "$PWD/../stage/usr/games/vantrel" 2>/dev/null |
          sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "make-deb: dpkg-shlibdeps found no dependencies" >&2; exit 1; }

mkdir -p "$stage/DEBIAN"
size=$(du -sk --exclude=DEBIAN "$stage" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" -e "s/@DEPENDS@/$depends/" \
    dist/control.in >"$stage/DEBIAN/control"
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null

echo "make-deb: $deb ($(du -k "$deb" | cut -f1) KiB; installed $size KiB)"
echo "make-deb: Depends: $depends"
# Errors fail the build; warnings are printed for the packager to judge.
lintian --fail-on error "$deb" ||
    { echo "make-deb: lintian found errors in $deb" >&2; exit 1; }
