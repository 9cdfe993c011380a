#!/usr/bin/env python3
"""Checks the calculator's natural and periodic cubic splines against scipy's on random sheets.

Usage: spline_vs_scipy.py PATH_TO_spline_values
The points go to the program unsorted, as a user might type them; the queries include every
node, both ends and random points between them.
"""
import subprocess
import sys

import numpy as np
from scipy.interpolate import CubicSpline


def run(program, kind, x, y, queries):
    order = np.random.default_rng(len(x)).permutation(len(x))
    lines = [kind, str(len(x))]
    lines += [f"{x[i]!r} {y[i]!r}" for i in order]
    lines += [str(len(queries))] + [repr(q) for q in queries]
    done = subprocess.run([program], input="\n".join(lines) + "\n", capture_output=True,
                          text=True, check=False)
    if done.returncode != 0:
        raise SystemExit(f"{kind}: {done.stderr.strip()}")
    return np.array([float(v) for v in done.stdout.split()])


def main():
    program = sys.argv[1]
    rng = np.random.default_rng(20261208)
    failures = 0
    largest = 0.0
    for case in range(40):
        count = int(rng.integers(4, 60))
        x = np.sort(rng.uniform(-50, 50, count))
        # Nodes well apart, so that the comparison measures the spline and not its conditioning.
        x = x[np.concatenate(([True], np.diff(x) > 1e-3))]
        if len(x) < 4:
            continue
        y = rng.normal(0, 10, len(x))
        queries = np.concatenate((x, rng.uniform(x[0], x[-1], 50)))
        for kind in ("natural", "periodic"):
            values_y = y.copy()
            if kind == "periodic":
                values_y[-1] = values_y[0]
            expected = CubicSpline(x, values_y, bc_type=kind)(queries)
            got = run(program, kind, x, values_y, queries)
            scale = max(1.0, float(np.max(np.abs(expected))))
            error = float(np.max(np.abs(got - expected))) / scale
            largest = max(largest, error)
            if error > 1e-9:
                failures += 1
                print(f"case {case} {kind}: {len(x)} points, largest relative error {error:.3g}")
            if not np.array_equal(got[: len(x)], values_y):
                failures += 1
                print(f"case {case} {kind}: a node does not give its own value exactly")
    print(f"largest relative difference from scipy: {largest:.3g}")
    print("spline values match scipy" if failures == 0 else f"{failures} mismatches")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
