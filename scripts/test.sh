#!/usr/bin/env bash
# The test command: install what is needed, build with both compilers without warnings, run every
# test plain and under AddressSanitizer + UndefinedBehaviorSanitizer, the threaded suites under
# ThreadSanitizer, then a short pass of every fuzz target. docs/architecture.md ("Building and
# testing") says what each stage checks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
# ccache (installed by setup.sh) makes a second run cheap; the precompiled headers need the
# sloppiness below to be cached at all.
launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
clang=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
sanitizer_env=(ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
               UBSAN_OPTIONS=print_stacktrace=1)

echo "== g++: build without warnings, every test"
cmake -S . -B build -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARVANEU_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== clang: build without warnings, every test under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja "${launcher[@]}" "${clang[@]}" -DCMAKE_BUILD_TYPE=Debug -DPARVANEU_WERROR=ON \
  -DPARVANEU_SANITIZE=ON -DPARVANEU_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
# The gallery's signal test times a quit in real windows; a Debug sanitizer build of nine animated
# pages is too slow for its time limit, so it runs in the g++ stage only.
env "${sanitizer_env[@]}" GTEST_FILTER='-GalleryWindows.*' ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== ThreadSanitizer (the controls that take data from another thread, the scope slice threads)"
# g++: clang links its static TSan runtime's operator new/delete, which the allocation-counting
# test support replaces.
cmake -S . -B build-tsan -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug -DPARVANEU_TSAN=ON \
  -DPARVANEU_BUILD_BENCH=OFF -DPARVANEU_BUILD_TOOLS=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target test_audio test_scopes test_spectrum test_foundation
# The long loudness cases (single-threaded signal tests: EbuTech/*, the layout weights, the
# 10 ms steps) and the scope suite's single-threaded reference comparisons take minutes under
# TSan; they run under ASan above. The level suite runs beside the others.
tsan() {
  if ! TSAN_OPTIONS=halt_on_error=1 WINPORT_BACKEND=headless "./build-tsan/tests/$1" --gtest_filter="$2" \
      --gtest_brief=1 >"build-tsan/$1.log" 2>&1; then
    cat "build-tsan/$1.log"
    return 1
  fi
  echo "$1: $(tail -1 "build-tsan/$1.log")"
}
tsan test_audio '-EbuTech/*:LevelMeasureLayout.*:LevelMeasureSteps.*' &
audio=$!
tsan test_scopes 'ScopeSliceThreads.*:ScopeWndThread*'
tsan test_spectrum '*AnotherThread*'
tsan test_foundation 'FeedLatch.*:ControlClass*'
wait "$audio"

echo "== fuzz targets, a short pass each (scripts/fuzz.sh for long runs)"
bash scripts/fuzz.sh 20
echo "== all tests passed"
