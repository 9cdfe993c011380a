#!/usr/bin/env bash
# Times the linear system solver on a dense random system of N equations (default 200): the
# system is written as a ".sle" file of "a1 x1 + a2 x2 + ..." lines, then built, solved and
# inverted through the command line. Usage: scripts/time-linsys.sh [N] [PROGRAM]
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-200}
program=${2:-build/calculator}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$n" "$work/system.sle" <<'PY'
import random, sys
n, path = int(sys.argv[1]), sys.argv[2]
rng = random.Random(n)
names = ",".join(f"x{j}" for j in range(1, n + 1))
rows = []
for i in range(n):
    # A strong diagonal keeps the system well conditioned and its determinant far from zero.
    terms = [f"{rng.uniform(-1, 1) + (n if i == j else 0):.4f} x{j + 1}" for j in range(n)]
    rows.append(" + ".join(terms) + f" + {rng.uniform(-10, 10):.4f}")
text = ",\r\n".join(rows)
with open(path, "wb") as f:
    f.write(f"List of variables\r\n{{\r\n{names}\r\n}}\r\n\r\nSystem of linear equatins\r\n{{\r\n"
            f"{text}\r\n}}\r\n".encode("latin-1"))
PY
echo "$n equations, $(stat -c %s "$work/system.sle") bytes"
for command in "" --determinant --inverse; do
  start=$(date +%s.%N)
  "$program" --solve --sle "$work/system.sle" $command > "$work/out.txt"
  end=$(date +%s.%N)
  printf '%-14s %6.3f s  (%s lines)\n' "${command:---solve}" "$(echo "$end - $start" | bc)" \
    "$(wc -l < "$work/out.txt")"
done
