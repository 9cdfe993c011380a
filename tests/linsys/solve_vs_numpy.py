"""Checks the calculator's linear system solver against numpy on random well-conditioned systems.

Usage: solve_vs_numpy.py PATH_TO_solve_command
Each system, real or complex, goes to the command line as a user types it ("c1 x1 + ... - b" per
equation), rows out of order so that the solver has to pivot; the solution, the determinant and
the inverse it prints are compared with numpy.linalg's.
"""
import re
import subprocess
import sys

import numpy as np

NUMBER = r"[-+]?[\d.]+(?:E[-+]?\d+)?"


def literal(v):
    return f"complex({v.real!r}, {v.imag!r})" if np.iscomplexobj(v) else repr(float(v))


def value(text):
    match = re.fullmatch(rf"Complex\(({NUMBER}), ({NUMBER})\)", text)
    return complex(float(match[1]), float(match[2])) if match else float(text)


def run(program, names, equations, *option):
    done = subprocess.run([program, "--solve", "--vars", ",".join(names), "--equations", equations,
                           *option], capture_output=True, text=True, check=False)
    if done.returncode != 0:
        raise SystemExit(f"{option}: {done.stdout}{done.stderr}")
    return done.stdout.splitlines()


def main():
    program = sys.argv[1]
    rng = np.random.default_rng(20261208)
    worst = 0.0
    for case in range(30):
        n = int(rng.integers(1, 13))
        a = rng.uniform(-5, 5, (n, n)) + np.diag(np.full(n, 6.0 * n))  # diagonally dominant
        b = rng.uniform(-20, 20, n)
        if case % 3 == 2:
            a = a + 1j * rng.uniform(-5, 5, (n, n))
            b = b + 1j * rng.uniform(-20, 20, n)
        a = a[rng.permutation(n)]
        names = [f"x{j + 1}" for j in range(n)]
        equations = ",\n".join(
            " + ".join(f"{literal(a[i, j])} {names[j]}" for j in range(n)) + f" - {literal(b[i])}"
            for i in range(n))

        lines = run(program, names, equations)
        assert lines[0] == "Solution:" and [l.split(" = ")[0] for l in lines[1:]] == names, lines
        x = [value(line.split(" = ")[1]) for line in lines[1:]]
        (line,) = run(program, names, equations, "--determinant")
        determinant = value(line.removeprefix("Determinant = "))
        lines = run(program, names, equations, "--inverse")
        assert lines[0] == "Inverse  matrix :", lines
        inverse = [[value(entry) for entry in row.rstrip().split("   ")] for row in lines[1:]]

        want = np.linalg.solve(a, b)
        worst = max(worst, np.max(np.abs(x - want)) / np.max(np.abs(want)),
                    abs(determinant - np.linalg.det(a)) / abs(np.linalg.det(a)),
                    np.max(np.abs(np.array(inverse) - np.linalg.inv(a))) /
                    np.max(np.abs(np.linalg.inv(a))))
    print(f"30 systems, largest relative difference {worst:.3g}")
    if worst > 1e-9:
        raise SystemExit("the solver differs from numpy")


if __name__ == "__main__":
    main()
