#!/usr/bin/env bash
# Sets Zanbor up (the packages to build and play, a release build of the game
# and its archive) and starts the game. test.sh adds the test tools.
set -euo pipefail
ZANBOR_ROOT=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/setup.sh
. "$ZANBOR_ROOT/scripts/setup.sh"

zanbor_install_packages
zanbor_build "$ZANBOR_ROOT/build/release" -DCMAKE_BUILD_TYPE=Release -DZANBOR_TESTS=OFF -DZANBOR_DEMOS=OFF
cd "$ZANBOR_ROOT/build/release/bin"
exec ./zanbor
