#!/usr/bin/env bash
# Installs the Debian packages Zanbor needs to build, test and run, and nothing
# when they are all present already. Sourced by play.sh and test.sh.
set -euo pipefail

ZANBOR_PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-dev libtsan2
  libsdl2-dev libsdl2-ttf-dev
  libfluidsynth-dev timgm6mb-soundfont
  libsqlite3-dev libfontconfig-dev fonts-liberation2
  librsvg2-dev libcairo2-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  desktop-file-utils appstream groff-base xvfb xdotool x11-utils
  weston libdecor-0-plugin-1-cairo
)

zanbor_missing_packages() {
  local missing=() p
  for p in "${ZANBOR_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]:-}"
}

zanbor_install_packages() {
  local missing
  missing=$(zanbor_missing_packages)
  [ -z "$missing" ] && return 0
  if ! command -v apt-get >/dev/null; then
    echo "Zanbor needs these packages, and this system has no apt-get: $missing" >&2
    return 1
  fi
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  echo "Installing: $missing"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # shellcheck disable=SC2086
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
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
