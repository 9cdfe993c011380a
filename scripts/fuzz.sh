#!/usr/bin/env bash
# Builds the evaluator's libFuzzer targets with clang into build-fuzz/ and runs both side by side
# for the given number of seconds (default 600); fails when either one finds a fault.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2; }

packages=(cmake ninja-build clang libclang-rt-14-dev llvm)
missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

out=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCALC_FUZZ=ON -DCALC_BUILD_GUI=OFF -DCALC_BUILD_TESTS=OFF
cmake --build "$out" --parallel "$(nproc)" --target parse_fuzzer execute_fuzzer

# Seeds: every expression of the list under a few mode bytes. The execute target reads its text
# up to a zero byte, then values of every kind (one tag byte and its payload each).
seeds="$out/seeds"
rm -rf "$seeds" "$out/findings"
mkdir -p "$seeds/parse" "$seeds/execute" "$out/corpus/parse" "$out/corpus/execute" \
  "$out/findings" "$out/logs"
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

# One second per input at most, 2 GB of memory, inputs of up to 4 KB. Each target runs in a
# child process that libFuzzer restarts after a finding, so the whole time is spent fuzzing
# and every finding is kept, not only the first.
options=(-max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len=4096
  -dict=fuzz/evaluator.dict -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
pids=()
for target in parse execute; do
  "$out/${target}_fuzzer" "${options[@]}" -artifact_prefix="$out/findings/$target-" \
    "$out/corpus/$target" "$seeds/$target" >"$out/logs/$target.log" 2>&1 &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
  wait "$pid" || status=1
done

for target in parse execute; do
  echo "== ${target}_fuzzer: $(grep -E '^#[0-9]+: cov' "$out/logs/$target.log" | tail -n 1)"
done
if ((status)) || compgen -G "$out/findings/*" >/dev/null; then
  echo "Findings (inputs in $out/findings/, logs in $out/logs/):" >&2
  ls -l "$out/findings" >&2
  exit 1
fi
