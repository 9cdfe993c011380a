#!/usr/bin/env bash
# Starts the calculator under a virtual display, types sample definitions and expressions and
# saves PNG screenshots of its windows into the folder given (default: screenshots/), each named
# after its window's caption. `--guide` renews the pictures of docs/GUIDE.md in docs/images/.
# With --sanitize, the program is the address and undefined-behaviour sanitizer build of
# build-asan/ (as scripts/test-sanitizers.sh makes it), and any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
if [[ "${1:-}" == --sanitize ]]; then
  build=build-asan
  shift
fi
out=${1:-screenshots}
if [[ "$out" == "--guide" ]]; then
  out=docs/images
  rm -f "$out"/*.png
fi
scripts/install-deps.sh
if [[ "$build" == build ]]; then
  scripts/build.sh
else
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCALC_SANITIZE=ON
  cmake --build build-asan --parallel "$(nproc)" --target calculator
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1}
  # The display's keyboard library copies names with strndup from buffers that hold no
  # terminating NUL: sound, but what strict string checks report. The test suite keeps them.
  ASAN_OPTIONS=${ASAN_OPTIONS//strict_string_checks=1/strict_string_checks=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0}
fi
# A fresh data folder, so that no settings of an earlier run change the pictures.
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/calculator" --data-dir "$data" --screenshots "$out"
