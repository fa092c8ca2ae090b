#!/usr/bin/env bash
# Benchmarks (never part of the tests): the Google Benchmark suites, then the side-by-side peers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --bench
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARVANEU_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)"
for b in build-bench/bench/bench_*; do
  echo "== $(basename "$b")"
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
done
for peer in bench/peers/*.sh; do
  [ -f "$peer" ] && bash "$peer" build-bench
done
