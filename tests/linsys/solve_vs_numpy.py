#!/usr/bin/env python3
"""Checks the calculator's linear system solver against numpy on random well-conditioned systems.

Usage: solve_vs_numpy.py PATH_TO_solve_command
Each system, real or complex, goes to the command line as a user would type it ("c1 x1 + ...
+ c0" per equation); the solution, the determinant and the inverse it prints are compared with
numpy.linalg's.
"""
import re
import subprocess
import sys

import numpy as np

TOLERANCE = 1e-9
NUMBER = r"[-+]?(?:\d+\.?\d*(?:E[-+]?\d+)?|NAN|INF)"


def literal(value):
    if isinstance(value, complex):
        return f"complex({value.real!r}, {value.imag!r})"
    return repr(float(value))


def parse_value(text):
    match = re.fullmatch(rf"Complex\(({NUMBER}), ({NUMBER})\)", text)
    if match:
        return complex(float(match.group(1)), float(match.group(2)))
    return float(text)


def run(program, names, equations, option=None):
    arguments = [program, "--solve", "--vars", ",".join(names), "--equations", equations]
    if option:
        arguments.append(option)
    done = subprocess.run(arguments, capture_output=True, text=True, check=False)
    if done.returncode != 0:
        raise SystemExit(f"{option or 'solve'} failed: {done.stdout}{done.stderr}")
    return done.stdout.splitlines()


def random_system(rng, n, is_complex):
    a = rng.uniform(-5, 5, (n, n))
    b = rng.uniform(-20, 20, n)
    if is_complex:
        a = a + 1j * rng.uniform(-5, 5, (n, n))
        b = b + 1j * rng.uniform(-20, 20, n)
    # Diagonal dominance keeps the condition number small and the determinant far from zero.
    a += np.diag(np.full(n, 6.0 * n))
    if rng.integers(2):
        a = a[rng.permutation(n)]  # rows out of order, so that the solver has to pivot
    return a, b


def relative_error(got, want):
    return np.max(np.abs(np.asarray(got) - want)) / max(1.0, np.max(np.abs(want)))


def main():
    program = sys.argv[1]
    rng = np.random.default_rng(20261208)
    worst = 0.0
    cases = 0
    for case in range(30):
        n = int(rng.integers(1, 13))
        is_complex = case % 3 == 2
        a, b = random_system(rng, n, is_complex)
        names = [f"x{j + 1}" for j in range(n)]
        # Equation i reads a[i] . x - b[i] = 0.
        rows = []
        for i in range(n):
            terms = [f"{literal(a[i, j] if is_complex else a[i, j].item())} {names[j]}"
                     for j in range(n)]
            rows.append(" + ".join(terms) + f" - {literal(b[i] if is_complex else b[i].item())}")
        equations = ",\n".join(rows)

        lines = run(program, names, equations)
        assert lines[0] == "Solution:", lines
        got = []
        for name, line in zip(names, lines[1:]):
            label, value = line.split(" = ", 1)
            assert label == name, line
            got.append(parse_value(value))
        worst = max(worst, relative_error(got, np.linalg.solve(a, b)))

        (line,) = run(program, names, equations, "--determinant")
        determinant = parse_value(line.removeprefix("Determinant = "))
        want = np.linalg.det(a)
        worst = max(worst, abs(determinant - want) / abs(want))

        lines = run(program, names, equations, "--inverse")
        assert lines[0] == "Inverse  matrix :", lines
        inverse = [[parse_value(entry) for entry in row.rstrip().split("   ")]
                   for row in lines[1:]]
        worst = max(worst, relative_error(inverse, np.linalg.inv(a)))
        cases += 1
    print(f"{cases} systems, largest relative difference {worst:.3g}")
    if worst > TOLERANCE:
        raise SystemExit(f"difference {worst:.3g} exceeds {TOLERANCE}")


if __name__ == "__main__":
    main()
