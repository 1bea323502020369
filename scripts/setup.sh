#!/usr/bin/env bash
# Installs the Debian packages Zanbor needs, and nothing when they are all
# present already. Sourced by play.sh (building and playing) and test.sh
# (the same, and the test tools).
set -euo pipefail

# To build the game and its archive, and to play it.
ZANBOR_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-ttf-dev
  libfluidsynth-dev timgm6mb-soundfont
  libsqlite3-dev libfontconfig-dev fonts-liberation2
  librsvg2-dev libcairo2-dev zlib1g-dev
)

# To build and run the test suites, the sanitizer builds and the fuzz targets:
# the frameworks, clang with its runtimes, the checkers of the installed files,
# and the X and Wayland servers the process tests start.
# shellcheck disable=SC2034  # read by test.sh
ZANBOR_TEST_PACKAGES=(
  clang libclang-rt-dev libtsan2
  libgtest-dev libgmock-dev libbenchmark-dev
  desktop-file-utils appstream groff-base
  xvfb xdotool x11-utils weston libdecor-0-plugin-1-cairo
)

zanbor_missing_packages() {
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]:-}"
}

# zanbor_install_packages [PACKAGE...]: installs those missing of the given
# packages (by default the list to build and play).
zanbor_install_packages() {
  local missing
  if [ "$#" -eq 0 ]; then set -- "${ZANBOR_PACKAGES[@]}"; fi
  missing=$(zanbor_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if ! command -v apt-get >/dev/null; then
    echo "Zanbor needs these packages, and this system has no apt-get: $missing" >&2
    return 1
  fi
  echo "Installing: $missing"
  zanbor_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # shellcheck disable=SC2086
  zanbor_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}

# Runs a command as root: directly when root already, else through sudo.
zanbor_as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  else
    sudo "$@"
  fi
}

# zanbor_build DIR [cmake options...]: configure once, then build.
zanbor_build() {
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ZANBOR_ROOT" -B "$dir" -G Ninja "$@"
  fi
  cmake --build "$dir" -j "$(nproc)"
}
