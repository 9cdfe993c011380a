#!/usr/bin/env bash
# Builds the benchmarks in release mode into build-bench/, runs them and prints the table of
# this evaluator against muParser. Extra arguments go to the benchmark program
# (e.g. --benchmark_filter=eval).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh build-essential cmake ninja-build pkg-config libbenchmark-dev libmuparser-dev

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCALC_BUILD_GUI=OFF \
  -DCALC_BUILD_TESTS=OFF -DCALC_BUILD_BENCH=ON > /dev/null
cmake --build build-bench --target evaluator_bench

result=build-bench/bench_result.json
# Repetitions run interleaved at random, so that this evaluator and muParser meet the same
# conditions on a shared machine.
build-bench/bench/evaluator_bench --benchmark_repetitions=5 --benchmark_min_time=0.2 \
  --benchmark_enable_random_interleaving=true --benchmark_out="$result" \
  --benchmark_out_format=json "$@" > /dev/null 2>&1
python3 bench/format_results.py "$result"
