#!/usr/bin/env bash
# Builds the benchmarks in release mode into build-bench/, runs them and prints the table of
# this evaluator against muParser, ExprTk and plain C++. ExprTk's header is taken from
# ../shared/peers/exprtk (or CALC_EXPRTK_DIR); without it that column is left out. BENCH_RUNS
# (default 3) whole runs are made and their medians printed. Extra arguments go to the benchmark
# program (e.g. --benchmark_filter=eval).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh build-essential cmake ninja-build pkg-config libbenchmark-dev libmuparser-dev

exprtk=()
[[ -n "${CALC_EXPRTK_DIR:-}" ]] && exprtk=("-DCALC_EXPRTK_DIR=$CALC_EXPRTK_DIR")
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCALC_BUILD_GUI=OFF \
  -DCALC_BUILD_TESTS=OFF -DCALC_BUILD_BENCH=ON "${exprtk[@]}" > /dev/null
cmake --build build-bench --target evaluator_bench

results=()
for ((run = 1; run <= ${BENCH_RUNS:-3}; ++run)); do
  result=build-bench/bench_result_$run.json
  # Repetitions run interleaved at random, so that every column meets the same conditions on a
  # shared machine.
  build-bench/bench/evaluator_bench --benchmark_repetitions=5 --benchmark_min_time=0.2 \
    --benchmark_enable_random_interleaving=true --benchmark_out="$result" \
    --benchmark_out_format=json "$@" > /dev/null 2>&1
  results+=("$result")
done
python3 bench/format_results.py "${results[@]}"
