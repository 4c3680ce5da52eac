#!/usr/bin/env bash
# Sets up, builds and runs every test: the native suite (plain, with the
# Linux desktop program's window, voice and end-to-end run; then the logic and
# system layer under ThreadSanitizer, and under AddressSanitizer with
# UndefinedBehaviorSanitizer), the Windows suite under Wine, and the
# end-to-end scenarios that drive brightquill.exe under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=${BQ_JOBS:-2}

# run_ctest BUILD_DIR ARGS...: ctest, then a check that it skipped no test
# that scripts/allowed-skips.txt does not allow; its report keeps every
# test's whole output, where the skips of a whole test program show.
run_ctest() {
  local dir=$1 report=$PWD/$1/ctest-report.xml
  shift
  rm -f "$report"
  ctest --test-dir "$dir" --output-on-failure --output-junit "$report" \
    --test-output-size-passed 0 "$@"
  scripts/check-skips "$report"
}

native_suite() {  # build dir, extra cmake arguments...
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  run_ctest "$dir" -j"$jobs"
}

echo "== Native tests"
native_suite build/native
echo "== Native tests under ThreadSanitizer"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" native_suite build/tsan \
  -DBQ_SANITIZE=thread -DBQ_DESKTOP=OFF
echo "== Native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1" \
  native_suite build/asan -DBQ_SANITIZE=address,undefined -DBQ_DESKTOP=OFF

echo "== Windows build: tests under Wine, then end to end"
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"$jobs"
run_ctest build/windows
