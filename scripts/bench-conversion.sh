#!/usr/bin/env bash
# Builds the conversion benchmark in release mode into build-bench/ and prints how long the
# conversion check takes to store every path of the default table and of categories at the
# picture limits (400 units, 150 definitions). Extra arguments go to the benchmark program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh build-essential cmake ninja-build pkg-config libbenchmark-dev libmuparser-dev

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCALC_BUILD_GUI=OFF \
  -DCALC_BUILD_TESTS=OFF -DCALC_BUILD_BENCH=ON > /dev/null
cmake --build build-bench --target conversion_bench
build-bench/bench/conversion_bench "$@"
