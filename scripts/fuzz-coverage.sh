#!/usr/bin/env bash
# Measures the source coverage the fuzzers' corpus reaches: builds both targets with clang's
# coverage mapping into build-fuzz-cov/, replays build-fuzz/corpus/ (grown by scripts/fuzz.sh)
# and the seeds once, and prints line, branch and function coverage per file of the evaluator
# and the application functions.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh cmake ninja-build clang libclang-rt-14-dev llvm

[[ -d build-fuzz/corpus ]] || { echo "no corpus yet: run scripts/fuzz.sh first" >&2; exit 2; }

out=build-fuzz-cov
flags="-fprofile-instr-generate -fcoverage-mapping"
CC=clang CXX=clang++ cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCALC_FUZZ=ON -DCALC_BUILD_GUI=OFF -DCALC_BUILD_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" > /dev/null
cmake --build "$out" --parallel "$(nproc)" --target parse_fuzzer execute_fuzzer

rm -rf "$out/profiles"
mkdir -p "$out/profiles"
for target in parse execute; do
  inputs=(build-fuzz/corpus/$target)
  [[ -d build-fuzz/seeds/$target ]] && inputs+=(build-fuzz/seeds/$target)
  # One profile per process; each replay runs in one.
  LLVM_PROFILE_FILE="$out/profiles/$target-%p.profraw" \
    "$out/${target}_fuzzer" -runs=0 -timeout=5 -rss_limit_mb=4096 "${inputs[@]}" \
    > "$out/profiles/$target.log" 2>&1
done
llvm-profdata merge -sparse "$out"/profiles/*.profraw -o "$out/fuzz.profdata"
llvm-cov report "$out/parse_fuzzer" -object "$out/execute_fuzzer" \
  -instr-profile="$out/fuzz.profdata" src/evaluator src/symbolic src/app
