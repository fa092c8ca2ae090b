#!/usr/bin/env bash
# Runs every libFuzzer target of tests/fuzz for [seconds] each (default 600) under ASan+UBSan,
# starting from the committed seeds in tests/fuzz/corpus/<target>/ (<target> with or without its
# fuzz_ prefix). New inputs go to build-fuzz/corpus/<target>/, crashes to build-fuzz/crashes/;
# any finding fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
jobs=$(nproc)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DPARVANEU_FUZZ=ON -DPARVANEU_BUILD_BENCH=OFF -DPARVANEU_BUILD_TOOLS=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target parvaneu_fuzz

export ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp UBSAN_OPTIONS=print_stacktrace=1
export WINPORT_BACKEND=headless
mkdir -p build-fuzz/crashes
failed=()
for bin in build-fuzz/tests/fuzz/fuzz_*; do
  [[ -x "$bin" ]] || continue
  name=$(basename "$bin")
  target=${name#fuzz_}
  seeds=tests/fuzz/corpus/$target
  [[ -d "$seeds" ]] || seeds=tests/fuzz/corpus/$name  # seeds under either name
  work=build-fuzz/corpus/$target
  mkdir -p "$work"
  [[ -d "$seeds" ]] || seeds=""
  echo "== $name, ${seconds} s"
  if ! "$bin" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 -print_final_stats=1 \
      -artifact_prefix="build-fuzz/crashes/$name-" "$work" ${seeds:+"$seeds"} >"build-fuzz/$name.log" 2>&1; then
    failed+=("$name")
    grep -E "ERROR|runtime error|SUMMARY" "build-fuzz/$name.log" | head -5 || true
  fi
  grep -E "stat::number_of_executed_units" "build-fuzz/$name.log" || true
done
if ((${#failed[@]})); then
  echo "fuzz: findings in ${failed[*]} (inputs in build-fuzz/crashes/)"
  exit 1
fi
echo "== all fuzz targets ran clean"
