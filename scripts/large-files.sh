#!/usr/bin/env bash
# Makes large and non-text files in a temporary folder and reads each through the command line as
# the windows read it, printing the wall time, the peak memory and the first line of the outcome:
# a 100 MB ".dat" of a million lines, a ".cnv" of 10,000 definitions, a calculator file whose
# definitions take 10 MB, and a program and an image given as a calculator, ".dat" and ".cnv"
# file. Every read must take less than 10 seconds of CPU and less than ten times the file's size
# in memory beyond what the program takes to start.
set -euo pipefail
cd "$(dirname "$0")/.."
[[ -x build/calculator ]] || scripts/build.sh
calculator=$PWD/build/calculator
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A million rows of about 100 bytes: the row number, x and f(x) with 43 decimals each.
awk 'BEGIN { for (i = 1; i <= 1000000; i++) printf "%d  %.43f  %.43f\r\n", i, i / 1e6, (i / 1e6) ^ 2 }' \
  >"$work/big.dat"
# 10,000 definitions in 100 categories, each a chain of units u0 .. u100.
awk 'BEGIN { for (c = 1; c <= 100; c++) { printf "[Category %d]\r\n", c
               for (d = 1; d <= 100; d++) printf "%d=u%d : u%d : x*2 : x/2 : %d : %d : %d : %d\r\n", d, d - 1, d, d, d, d + 1, d } }' \
  >"$work/big.cnv"
# Definitions of 10 MB: y1 .. y590000, each the one before plus 1, in one definitions block. A
# calculator file refuses more than 1 MB: parsed, each byte of definitions takes some 80 bytes.
{
  printf 'Constants\r\n{\r\n}\r\n\r\nFunction variable\r\n{\r\nx\r\n}\r\n\r\nUser definitions\r\n{\r\ny0=1,\r\n'
  awk 'BEGIN { for (i = 1; i <= 590000; i++) printf "y%d=y%d+1,\r\n", i, i - 1 }'
  printf 'z=1\r\n}\r\n\r\nMathematical expression\r\n{\r\nz\r\n}\r\n'
} >"$work/big.txt"
# A PNG picture (a valid 1x1 image) and this machine's shell program.
printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1f\x15\xc4\x89\0\0\0\rIDATx\x9cc\xf8\x0f\0\0\x01\x01\0\x05\x18\xd8N\0\0\0\0IEND\xaeB`\x82' \
  >"$work/picture.png"
cp "$(command -v bash)" "$work/program"

# Runs the calculator with the arguments under /usr/bin/time; the figures of the last run are
# left in `seconds` (wall), `cpu` (user and system) and `kilobytes`.
run() {
  status=0
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$calculator" --data-dir "$work" "$@" \
    >"$work/out" 2>"$work/err" || status=$?
  # GNU time puts a line about a failing exit status before the figures.
  read -r seconds user system kilobytes < <(tail -n 1 "$work/time")
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')
}

# Reads `file` by the arguments and prints one line of figures: the memory is counted above what
# the program takes to start, which a file of a few bytes would otherwise be measured against.
measure() {
  local name=$1 file=$2
  shift 2
  local size outcome
  size=$(stat -c %s "$file")
  run "$@"
  outcome=$(head -c 200 "$work/err" | head -n 1)
  [[ -n "$outcome" ]] || outcome="read: $(head -c 80 "$work/out" | head -n 1)"
  local added=$((kilobytes > base ? kilobytes - base : 0))
  printf '%-24s %10d bytes %6.2f s (%5.2f s CPU) %8d KB peak, %7d KB above the start (%5.2f x size)  exit %d  %s\n' \
    "$name" "$size" "$seconds" "$cpu" "$kilobytes" "$added" \
    "$(awk -v k="$added" -v s="$size" 'BEGIN { print k * 1024 / s }')" "$status" "$outcome"
  # The CPU time decides: on a machine shared with other work the wall time can be far longer.
  awk -v t="$cpu" -v k="$added" -v s="$size" 'BEGIN { exit !(t < 10 && k * 1024 < 10 * s) }' ||
    { echo "  ^ over 10 s of CPU or ten times the file's size" >&2; failed=1; }
}

failed=0
[[ -x /usr/bin/time ]] || scripts/install-packages.sh time
run --eval 1
base=$kilobytes
measure "100 MB .dat" "$work/big.dat" --sheet "$work/big.dat" --eval '1'
measure ".cnv of 10,000 lines" "$work/big.cnv" --units --cnv "$work/big.cnv"
measure "10 MB definitions" "$work/big.txt" --file "$work/big.txt"
for file in picture.png program; do
  measure "$file as calculator file" "$work/$file" --file "$work/$file"
  measure "$file as .dat" "$work/$file" --sheet "$work/$file" --eval '1'
  measure "$file as .cnv" "$work/$file" --units --cnv "$work/$file"
done
exit "$failed"
