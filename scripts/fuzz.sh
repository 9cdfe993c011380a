#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs them side by side for the
# given number of seconds (default 600): the evaluator's three and one per file reader, or only
# the targets named after the seconds. Fails when any one finds a fault.
# FUZZ_SERIAL=1 runs the targets one after the other instead, each for the whole time, which
# suits a machine whose cores are busy; FUZZ_TIMEOUT sets the seconds one input may take
# (default 1; a starved process under nice needs more, or every slow start counts as a hang).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: scripts/fuzz.sh [SECONDS] [TARGET...]" >&2; exit 2; }
shift $(($# > 0 ? 1 : 0))
# The file readers' targets; each has its seeds in fuzz/corpus/NAME and its tokens in
# fuzz/NAME.dict.
file_targets=(calculator_file settings cnv con sle dat pte)
all_targets=(parse execute typed_plan "${file_targets[@]}")
targets=("${all_targets[@]}")
(($# == 0)) || targets=("$@")
for target in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $target "* ]] || { echo "unknown target: $target" >&2; exit 2; }
done

scripts/install-packages.sh cmake ninja-build clang libclang-rt-14-dev llvm

out=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCALC_FUZZ=ON -DCALC_BUILD_GUI=OFF -DCALC_BUILD_TESTS=OFF
cmake --build "$out" --parallel "$(nproc)" --target "${targets[@]/%/_fuzzer}"

# Seeds: every expression of the list under a few mode bytes. The execute target reads its text
# up to a zero byte, then values of every kind (one tag byte and its payload each).
seeds="$out/seeds"
rm -rf "$seeds" "$out/findings"
mkdir -p "$seeds/parse" "$seeds/execute" "$seeds/typed_plan" "$out/findings" "$out/logs"
# The typed plan's target builds its expressions from raw bytes: a few random seeds will do.
for n in 1 2 3 4 5 6 7 8; do
  head -c 64 /dev/urandom >"$seeds/typed_plan/$n"
done
for target in "${targets[@]}"; do
  mkdir -p "$out/corpus/$target"
done
modes=(' ' '1' '6' ';' 'x' 'E')
values='\x01\x05\x02\xf3\x04\x06\x05\x01\x07\x02\xfe\x08\x09\x0a\x00\x0a\x01\x0b\x00\x03\x00\x00\x00\x00\x00\x01\x86\xa0'
n=0
while IFS= read -r line; do
  n=$((n + 1))
  for m in "${!modes[@]}"; do
    printf '%s%s' "${modes[$m]}" "$line" >"$seeds/parse/$n-$m"
  done
  printf '6%s\0%b' "$line" "$values" >"$seeds/execute/$n"
  printf '>%s\0%b%b' "$line" "$values" "$values" >"$seeds/execute/$n-currency"
done <fuzz/corpus/expressions.txt

# One second per input at most (unless FUZZ_TIMEOUT says otherwise), 2 GB of memory, inputs of up to 4 KB (16 KB for the files).
timeout=${FUZZ_TIMEOUT:-1}
[[ "$timeout" =~ ^[0-9]+$ ]] || { echo "FUZZ_TIMEOUT must be a number of seconds" >&2; exit 2; }
options=(-timeout="$timeout" -rss_limit_mb=2048 -print_final_stats=1)
evaluator_options=(-max_len=4096 -dict=fuzz/evaluator.dict)

# Fuzzes one target until the time is used up. libFuzzer stops at a finding, so it is started
# again with the time left; the input that failed leaves the corpus, so that the next start
# does not stop on it again.
fuzz_target() {
  local target=$1 deadline=$((SECONDS + seconds)) left started
  local own=("${evaluator_options[@]}") seed_dir="$seeds/$target"
  if [[ " ${file_targets[*]} " == *" $target "* ]]; then
    own=(-max_len=16384 "-dict=fuzz/${target%_file}.dict")
    seed_dir="fuzz/corpus/${target%_file}"
  fi
  : >"$out/logs/$target.log"
  while ((left = deadline - SECONDS, left > 0)); do
    started=$SECONDS
    if "$out/${target}_fuzzer" "${options[@]}" "${own[@]}" -max_total_time="$left" \
      -artifact_prefix="$out/findings/$target-" "$out/corpus/$target" "$seed_dir" \
      >>"$out/logs/$target.log" 2>&1; then
      break
    fi
    for finding in "$out/findings/$target-"*; do
      [[ -e "$finding" ]] && rm -f "$out/corpus/$target/${finding##*-}"
    done
    # A failure at start-up comes from the seeds themselves and would only repeat.
    ((SECONDS - started > 5)) || break
  done
}

if [[ "${FUZZ_SERIAL:-0}" == 1 ]]; then
  for target in "${targets[@]}"; do
    fuzz_target "$target"
  done
else
  pids=()
  for target in "${targets[@]}"; do
    fuzz_target "$target" &
    pids+=($!)
  done
  wait "${pids[@]}"
fi

for target in "${targets[@]}"; do
  runs=$(grep -h '^stat::number_of_executed_units' "$out/logs/$target.log" |
    awk '{total += $2} END {print total + 0}')
  echo "== ${target}_fuzzer: $runs inputs run"
done
if [[ -n "$(ls -A "$out/findings")" ]]; then
  echo "Findings (inputs in $out/findings/, logs in $out/logs/):" >&2
  ls -l "$out/findings" >&2
  exit 1
fi
