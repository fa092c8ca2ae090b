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
env "${sanitizer_env[@]}" ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== ThreadSanitizer (the controls that take data from another thread, the scope slice threads)"
tsan_suites=(test_audio test_scopes test_spectrum test_foundation)
cmake -S . -B build-tsan -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug -DPARVANEU_TSAN=ON \
  -DPARVANEU_BUILD_BENCH=OFF -DPARVANEU_BUILD_TOOLS=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target "${tsan_suites[@]}"
# The long loudness cases and the scope suite's single-threaded reference comparisons take
# minutes under TSan; they run under ASan above.
TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/test_audio --gtest_filter='-EbuTech/*'
TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/test_scopes --gtest_filter='ScopeSliceThreads.*:ScopeWndThread*'
TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/test_spectrum --gtest_filter='*AnotherThread*'
TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/test_foundation --gtest_filter='FeedLatch.*'

echo "== fuzz targets, a short pass each (scripts/fuzz.sh for long runs)"
bash scripts/fuzz.sh 20
echo "== all tests passed"
