#!/usr/bin/env bash
# Sets Zanbor up like play.sh, then builds and runs the whole suite twice: in the
# normal build and in the AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
ZANBOR_ROOT=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/setup.sh
. "$ZANBOR_ROOT/scripts/setup.sh"

zanbor_install_packages

jobs=$(nproc)
status=0

echo "== Normal build"
zanbor_build "$ZANBOR_ROOT/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$ZANBOR_ROOT/build/test" --output-on-failure -j "$jobs" || status=1

echo "== Sanitizer build"
zanbor_build "$ZANBOR_ROOT/build/asan" -DCMAKE_BUILD_TYPE=Debug -DZANBOR_SANITIZE=ON -DZANBOR_BENCHMARKS=OFF
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1} \
UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ZANBOR_ROOT/tests/lsan.supp} \
  ctest --test-dir "$ZANBOR_ROOT/build/asan" --output-on-failure -j "$jobs" || status=1

echo "== Fuzz targets (clang)"
fuzz_probe=$(mktemp -d)
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' > "$fuzz_probe/p.cpp"
if command -v clang++ >/dev/null && clang++ -fsanitize=fuzzer "$fuzz_probe/p.cpp" -o "$fuzz_probe/p" 2>/dev/null; then
  if [ ! -f "$ZANBOR_ROOT/build/fuzz/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$ZANBOR_ROOT" -B "$ZANBOR_ROOT/build/fuzz" -G Ninja \
      -DCMAKE_BUILD_TYPE=Debug -DZANBOR_BENCHMARKS=OFF || status=1
  fi
  cmake --build "$ZANBOR_ROOT/build/fuzz" -j "$jobs" --target fuzz_archive fuzz_wave || status=1
  "$ZANBOR_ROOT/build/fuzz/bin/fuzz_archive" -runs=0 "$ZANBOR_ROOT/tests/fuzz/corpus/archive" 2>&1 | tail -1 || status=1
  "$ZANBOR_ROOT/build/fuzz/bin/fuzz_wave" -runs=0 "$ZANBOR_ROOT/tests/fuzz/corpus/wave" 2>&1 | tail -1 || status=1
else
  echo "clang++ with libFuzzer not found: fuzz targets not built"
fi
rm -rf "$fuzz_probe"

if [ "$status" -ne 0 ]; then
  echo "Some tests failed." >&2
fi
exit "$status"
