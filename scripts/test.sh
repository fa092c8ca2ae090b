#!/usr/bin/env bash
# The test command: install what is needed, build without warnings, run every test, then the
# same tests again under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
# ccache (installed by setup.sh) makes the four configurations below cheap to rebuild.
launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

echo "== plain build"
cmake -S . -B build -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARVANEU_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== clang compile check"
cmake -S . -B build-clang -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPARVANEU_BUILD_BENCH=OFF -DPARVANEU_WERROR=ON >/dev/null
cmake --build build-clang -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug -DPARVANEU_SANITIZE=ON \
  -DPARVANEU_BUILD_BENCH=OFF -DPARVANEU_BUILD_TOOLS=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
echo "== ThreadSanitizer (the controls that take data from another thread, the scope slice threads)"
cmake -S . -B build-tsan -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug -DPARVANEU_TSAN=ON \
  -DPARVANEU_BUILD_BENCH=OFF -DPARVANEU_BUILD_TOOLS=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target test_audio test_scopes test_spectrum test_foundation
# The long loudness cases (single-threaded signal tests: EbuTech/*, the layout weights, the
# 10 ms steps) and the scope suite's single-threaded reference comparisons take
# minutes under TSan; they run under ASan above.
TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/test_audio --gtest_filter='-EbuTech/*:LevelMeasureLayout.*:LevelMeasureSteps.*'
TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/test_scopes --gtest_filter='ScopeSliceThreads.*:ScopeWndThread*'
TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/test_spectrum --gtest_filter='*AnotherThread*'
TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/test_foundation --gtest_filter='FeedLatch.*'
echo "== fuzz targets, a short pass each (scripts/fuzz.sh for long runs)"
bash scripts/fuzz.sh 20
echo "== all tests passed"
