#!/usr/bin/env bash
# Builds Zanbor's Debian packages, the source package and the binary one:
# installs exactly the build dependencies debian/control names (apt-get
# build-dep, with the nocheck profile when the tests are skipped), exports the
# source tree (the files git tracks or would track, so no build output) to
# build/deb/zanbor-VERSION, makes the source package of it with dpkg-source,
# builds the binary package there (which also runs the normal test suite) and
# checks both with lintian. Everything lands in build/deb/.
#   scripts/build-deb.sh                                 build and test
#   DEB_BUILD_OPTIONS=nocheck scripts/build-deb.sh       build without the tests
#   DEB_BUILD_OPTIONS=parallel=2 scripts/build-deb.sh    two jobs (default: every core)
set -euo pipefail
ZANBOR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/setup.sh
. "$ZANBOR_ROOT/scripts/setup.sh"

# The tools that build and check a package; the build's own needs come from debian/control.
zanbor_install_packages dpkg-dev lintian

options=" ${DEB_BUILD_OPTIONS:-} "
profiles=()
case "$options" in *" nocheck "*) profiles=(-P nocheck) ;; esac
echo "== Build-Depends of debian/control${profiles[*]:+ (${profiles[*]})}"
zanbor_as_root env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq --no-install-recommends \
  "${profiles[@]}" "$ZANBOR_ROOT/"

# One parallel=N only: the one given, else the number of cores.
case "$options" in
  *" parallel="*) ;;
  *) options="$options parallel=$(nproc) " ;;
esac
read -ra words <<<"$options"
DEB_BUILD_OPTIONS="${words[*]}"
export DEB_BUILD_OPTIONS
if [ ${#profiles[@]} -gt 0 ]; then export DEB_BUILD_PROFILES=nocheck; fi

version=$(dpkg-parsechangelog -l "$ZANBOR_ROOT/debian/changelog" -S Version)
out=$ZANBOR_ROOT/build/deb
src=$out/zanbor-$version
rm -rf "$src"
rm -f "$out"/zanbor_"$version"[_.]* "$out"/zanbor-dbgsym_"$version"_*
mkdir -p "$src"
if git -C "$ZANBOR_ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # Committed or not, but never ignored: build outputs stay out (and files
  # deleted but not yet committed are skipped).
  git -C "$ZANBOR_ROOT" ls-files -z --cached --others --exclude-standard |
    tar -C "$ZANBOR_ROOT" --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$src" -xf -
else
  tar -C "$ZANBOR_ROOT" -cf - --exclude=./build --exclude='./build-*' --exclude='./obj-*' \
    --exclude=./debian/.debhelper --exclude=./debian/zanbor --exclude=./debian/files \
    --exclude='./debian/*.substvars' --exclude=./debian/debhelper-build-stamp . | tar -C "$src" -xf -
fi

echo "== source package"
(cd "$out" && dpkg-source -b "zanbor-$version")
echo "== binary package (DEB_BUILD_OPTIONS=$DEB_BUILD_OPTIONS)"
(cd "$src" && dpkg-buildpackage -us -uc -b)

echo "== lintian"
lintian -I -E --pedantic --fail-on error "$out/zanbor_$version.dsc" "$out"/zanbor_"$version"_*.changes
echo "== built"
deb=$(ls "$out"/zanbor_"$version"_*.deb)
ls -l "$out/zanbor_$version.dsc" "$out/zanbor_$version.tar.xz" "$deb"
echo "Installed size: $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Install it with:  sudo apt install $deb"
