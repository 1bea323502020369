#!/usr/bin/env bash
# Installs what play.sh does and the test tools (scripts/setup.sh lists both),
# then builds and runs the whole suite twice: in the
# normal build and in the AddressSanitizer + UndefinedBehaviorSanitizer build;
# then the audio tests under ThreadSanitizer and the fuzz targets' seeds.
set -euo pipefail
ZANBOR_ROOT=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/setup.sh
. "$ZANBOR_ROOT/scripts/setup.sh"

zanbor_install_packages "${ZANBOR_PACKAGES[@]}" "${ZANBOR_TEST_PACKAGES[@]}"

jobs=$(nproc)
status=0
# Each stage says what it cost, so that a slow stage shows in the log.
stage_started=$SECONDS
stage_name=""
stage() {
  if [ -n "$stage_name" ]; then echo "-- $stage_name took $((SECONDS - stage_started)) s"; fi
  stage_name=$1
  stage_started=$SECONDS
  [ -n "$stage_name" ] && echo "== $stage_name"
  return 0
}

stage "Normal build"
zanbor_build "$ZANBOR_ROOT/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$ZANBOR_ROOT/build/test" --output-on-failure -j "$jobs" || status=1

stage "Sanitizer build"
# The sanitizer build leaves out what it never runs: benchmarks, demos, the coach.
zanbor_build "$ZANBOR_ROOT/build/asan" -DCMAKE_BUILD_TYPE=Debug -DZANBOR_SANITIZE=ON -DZANBOR_BENCHMARKS=OFF \
  -DZANBOR_DEMOS=OFF
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1} \
UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ZANBOR_ROOT/tests/lsan.supp} \
  ctest --test-dir "$ZANBOR_ROOT/build/asan" --output-on-failure -j "$jobs" || status=1

# The audio tests once more under ThreadSanitizer: the device's thread mixes
# while the game thread plays, stops and frees. Only their own small binary
# is built, so this stays a few minutes.
stage "ThreadSanitizer build of the audio tests"
if [ ! -f "$ZANBOR_ROOT/build/tsan/build.ninja" ]; then
  cmake -S "$ZANBOR_ROOT" -B "$ZANBOR_ROOT/build/tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZANBOR_BENCHMARKS=OFF "-DCMAKE_CXX_FLAGS=-fsanitize=thread -fno-omit-frame-pointer" \
    "-DCMAKE_C_FLAGS=-fsanitize=thread -fno-omit-frame-pointer" \
    "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread" || status=1
fi
if cmake --build "$ZANBOR_ROOT/build/tsan" -j "$jobs" --target test_audio; then
  # One OpenMP thread: the synthesizer's uninstrumented thread pool syncs in
  # ways ThreadSanitizer cannot see and would be reported as races.
  OMP_NUM_THREADS=1 TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1} \
    "$ZANBOR_ROOT/build/tsan/bin/test_audio" --gtest_brief=1 || status=1
else
  status=1
fi

stage "Fuzz targets (clang)"
fuzz_probe=$(mktemp -d)
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' > "$fuzz_probe/p.cpp"
if command -v clang++ >/dev/null && clang++ -fsanitize=fuzzer "$fuzz_probe/p.cpp" -o "$fuzz_probe/p" 2>/dev/null; then
  # The libraries are built with coverage and the sanitizers too, so that the
  # loaders' target reaches into them.
  fuzz_flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer"
  CC=clang CXX=clang++ cmake -S "$ZANBOR_ROOT" -B "$ZANBOR_ROOT/build/fuzz" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DZANBOR_BENCHMARKS=OFF "-DCMAKE_CXX_FLAGS=$fuzz_flags" "-DCMAKE_C_FLAGS=$fuzz_flags" \
    >/dev/null || status=1
  cmake --build "$ZANBOR_ROOT/build/fuzz" -j "$jobs" --target fuzz_archive fuzz_wave fuzz_loaders || status=1
  for target in archive:archive wave:wave loaders:loaders; do
    SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=dummy "$ZANBOR_ROOT/build/fuzz/bin/fuzz_${target%%:*}" -runs=0 \
      "$ZANBOR_ROOT/tests/fuzz/corpus/${target#*:}" 2>&1 | tail -1
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  done
else
  echo "clang++ with libFuzzer not found: fuzz targets not built"
fi
rm -rf "$fuzz_probe"
stage ""
echo "-- set-up and all stages took $SECONDS s"

if [ "$status" -ne 0 ]; then
  echo "Some tests failed." >&2
fi
exit "$status"
