#!/usr/bin/env bash
# Builds the evaluator, the application core and their tests with the address and
# undefined-behaviour sanitizers into build-asan/ and runs the whole suite; any finding fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Unoptimised: it builds fastest, and the sanitizers see every access as written.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCALC_SANITIZE=ON \
  -DCALC_BUILD_GUI=OFF "$@"
cmake --build build-asan --parallel "$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
