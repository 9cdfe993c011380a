#!/usr/bin/env bash
# Builds the program, its windows and every test with the address and undefined-behaviour
# sanitizers into build-asan/, runs the whole suite (the window tests offscreen), then takes the
# screenshots with that build under a virtual display; any finding fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Unoptimised: it builds fastest, and the sanitizers see every access as written.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCALC_SANITIZE=ON "$@"
cmake --build build-asan --parallel "$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# What the system's display and font libraries keep until the process ends is none of ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
# The screenshots run under a real (virtual) display, not offscreen.
env -u QT_QPA_PLATFORM scripts/screenshot.sh --sanitize "$shots"
