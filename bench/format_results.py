#!/usr/bin/env python3
"""Prints the table of a benchmark run of evaluator_bench from its JSON output.

Each benchmark ran several times; a figure is the least CPU time of its runs, which is the
steadiest measure on a machine that other work shares. Ratios are this evaluator's time over
muParser's for the same case, and for the scaling rows the time of one text size over the
next smaller one.
"""
import json
import statistics
import sys

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
TABLE_POINTS = 100000


def load(path):
    with open(path) as f:
        report = json.load(f)
    times = {}
    # Repetitions run interleaved; registration order (family_index) gives the table's order.
    runs = sorted(report["benchmarks"], key=lambda run: run.get("family_index", 0))
    for run in runs:
        if run.get("run_type") != "iteration" or run.get("error_occurred"):
            continue
        ns = run["cpu_time"] * UNIT_NS[run.get("time_unit", "ns")]
        name = run.get("run_name", run["name"])
        times.setdefault(name, []).append(ns)
    return report.get("context", {}), {name: min(v) for name, v in times.items()}


def cases(times, group):
    seen = []
    for name in times:
        parts = name.split("/", 2)
        if parts[0] == group and parts[2] not in seen:
            seen.append(parts[2])
    return seen


def figure(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e4:
        return f"{ns / 1e3:.1f} us"
    return f"{ns:.1f} ns"


def comparison(times, group, title, failures):
    rows = []
    ratios = []
    for case in cases(times, group):
        ours = times.get(f"{group}/ours/{case}")
        peer = times.get(f"{group}/peer/{case}")
        if ours is None or peer is None:
            failures.append(f"{group}/{case}: a run is missing or failed")
            continue
        ratio = ours / peer
        rows.append((case, ours, peer, ratio))
        ratios.append(ratio)
    if not rows:
        return None
    width = max(len(r[0]) for r in rows)
    print(f"\n{title}")
    print(f"  {'expression':<{width}}  {'this':>10}  {'muParser':>10}  {'this/peer':>9}")
    for case, ours, peer, ratio in rows:
        print(f"  {case:<{width}}  {figure(ours):>10}  {figure(peer):>10}  {ratio:>9.2f}")
    summary = (statistics.median(ratios), max(ratios))
    print(f"  {'median ratio':<{width}}  {'':>10}  {'':>10}  {summary[0]:>9.2f}")
    print(f"  {'worst ratio':<{width}}  {'':>10}  {'':>10}  {summary[1]:>9.2f}")
    return summary


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: format_results.py RESULT.json")
    context, times = load(sys.argv[1])
    failures = []
    load_average = ", ".join(f"{x:.2f}" for x in context.get("load_avg", []))
    print(f"{context.get('num_cpus', '?')} CPUs at {context.get('mhz_per_cpu', '?')} MHz, load "
          f"average {load_average or '?'}; figures are the least CPU time of the repetitions")

    evaluation = comparison(times, "eval", "Evaluation, one parse, x y z changed each time "
                            "(time per evaluation)", failures)
    parsing = comparison(times, "parse", "Parse and compile (time per parse)", failures)

    print("\nParse time against text size (this evaluator)")
    scaling = {}
    for shape in ("sum", "vector", "nested calls"):
        sizes = [times.get(f"scaling/ours/{shape}/{kb} KB") for kb in (10, 100, 1000)]
        if None in sizes:
            failures.append(f"scaling/{shape}: a run is missing or failed")
            continue
        scaling[shape] = sizes[2] / sizes[1]
        print(f"  {shape:<13} 10 KB {figure(sizes[0]):>10}   100 KB {figure(sizes[1]):>10}   "
              f"1 MB {figure(sizes[2]):>10}   100K/10K {sizes[1] / sizes[0]:5.1f}x   "
              f"1M/100K {sizes[2] / sizes[1]:5.1f}x")

    print("\nFunction table and recursion")
    table = None
    ours = times.get("table/ours/f(x)~sin(x)*exp(-x), 100000 points")
    peer = times.get("table/peer/f(x)~sin(x)*exp(-x), 100000 points")
    if ours is not None and peer is not None:
        table = ours / peer
        print(f"  f(x)~sin(x)*exp(-x), {TABLE_POINTS} points: this {figure(ours)} "
              f"({ours / TABLE_POINTS:.1f} ns a point), muParser loop {figure(peer)} "
              f"({peer / TABLE_POINTS:.1f} ns a point), ratio {table:.2f}")
    else:
        failures.append("table: a run is missing or failed")
    for case in ("Fact(170)", "Cnt(199)"):
        ns = times.get(f"recursion/ours/{case}")
        if ns is None:
            failures.append(f"recursion/{case}: the run is missing or failed")
        else:
            print(f"  {case}: {figure(ns)} a run ({ns / 170 if case.startswith('F') else ns / 199:.0f}"
                  " ns a call)")

    print("\nGoals")
    checks = []
    if evaluation:
        checks.append(("evaluation, median ratio <= 1.0", evaluation[0] <= 1.0))
        checks.append(("evaluation, worst ratio <= 1.5", evaluation[1] <= 1.5))
    if parsing:
        checks.append(("parse and compile, median ratio <= 1.5", parsing[0] <= 1.5))
    for shape, ratio in scaling.items():
        checks.append((f"{shape}: 1 MB <= 12 x 100 KB", ratio <= 12))
    if table is not None:
        checks.append(("100,000-point table <= 1.5 x muParser's loop", table <= 1.5))
    for text, met in checks:
        print(f"  {'met    ' if met else 'NOT MET'}  {text}")
    for failure in failures:
        print(f"  FAILED   {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
