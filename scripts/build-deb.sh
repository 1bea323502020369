#!/usr/bin/env bash
# Builds the Debian package of Zanbor: installs what the build needs, copies the
# source tree (without build outputs) to build/deb/zanbor-VERSION, runs
# dpkg-buildpackage there, which also runs the normal test suite, and checks the
# result with lintian. The package lands in build/deb/.
#   scripts/build-deb.sh                               build and test
#   DEB_BUILD_OPTIONS=nocheck scripts/build-deb.sh     build without the tests
set -euo pipefail
ZANBOR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/setup.sh
. "$ZANBOR_ROOT/scripts/setup.sh"

ZANBOR_PACKAGES+=(dpkg-dev debhelper lintian appstream)
zanbor_install_packages

version=$(dpkg-parsechangelog -l "$ZANBOR_ROOT/debian/changelog" -S Version)
out=$ZANBOR_ROOT/build/deb
src=$out/zanbor-$version
rm -rf "$src"
rm -f "$out"/zanbor_"$version"[_.]*
mkdir -p "$src"
tar -C "$ZANBOR_ROOT" -cf - \
  --exclude=./.git --exclude=./build --exclude='./build-*' --exclude='./obj-*' \
  --exclude=./debian/.debhelper --exclude=./debian/zanbor --exclude=./debian/files \
  --exclude='./debian/*.substvars' --exclude=./debian/debhelper-build-stamp . | tar -C "$src" -xf -

jobs=$(nproc)
export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:+$DEB_BUILD_OPTIONS }parallel=$jobs"
(cd "$src" && dpkg-buildpackage -us -uc -b)

changes=$(ls "$out"/zanbor_"$version"_*.changes)
echo "== lintian"
lintian --info --fail-on error "$changes"
echo "== built"
ls -l "$out"/zanbor_"$version"_*.deb
echo "Install it with:  sudo apt install $out/$(basename "$out"/zanbor_"$version"_*.deb)"
