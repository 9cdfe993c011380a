#!/usr/bin/env python3
"""Prints the table of one or more benchmark runs of evaluator_bench from their JSON output.

Within a run each benchmark ran several times, interleaved at random with the others; its figure
is the least CPU time of those repetitions, the steadiest measure on a machine that other work
shares. Ratios are taken within a run. Given several runs, every time and every ratio printed is
the median over the runs, and the goals are judged on those medians.

Columns: this evaluator ("ours"), muParser, ExprTk (when the build had its header) and the same
expression compiled as C++ ("native").
"""
import json
import statistics
import sys

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
TABLE_POINTS = 100000
TABLE_CASE = "f(x)~sin(x)*exp(-x), 100000 points"
COLUMNS = ("ours", "muparser", "exprtk", "native")
HEADINGS = {"ours": "this", "muparser": "muParser", "exprtk": "ExprTk", "native": "C++"}
# The ratios shown, as (numerator, denominator).
RATIOS = (("ours", "muparser"), ("ours", "exprtk"), ("exprtk", "muparser"),
          ("native", "muparser"))


def load(path):
    with open(path) as f:
        report = json.load(f)
    times = {}
    order = []
    # Registration order (family_index) gives the table's order.
    runs = sorted(report["benchmarks"], key=lambda run: run.get("family_index", 0))
    for run in runs:
        if run.get("run_type") != "iteration" or run.get("error_occurred"):
            continue
        ns = run["cpu_time"] * UNIT_NS[run.get("time_unit", "ns")]
        name = run.get("run_name", run["name"])
        if name not in times:
            order.append(name)
        times.setdefault(name, []).append(ns)
    return report.get("context", {}), {name: min(times[name]) for name in order}


def cases(runs, group):
    seen = []
    for times in runs:
        for name in times:
            parts = name.split("/", 2)
            if parts[0] == group and parts[2] not in seen:
                seen.append(parts[2])
    return seen


def figure(ns):
    if ns is None:
        return "-"
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e4:
        return f"{ns / 1e3:.1f} us"
    return f"{ns:.1f} ns"


def median_or_none(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def ratio_text(r):
    return "-" if r is None else f"{r:.2f}"


def row_times(runs, group, case):
    """Per column, the list over runs of the case's time (None where missing)."""
    return {c: [t.get(f"{group}/{c}/{case}") for t in runs] for c in COLUMNS}


def run_ratio(per_run, num, den, k):
    a, b = per_run[num][k], per_run[den][k]
    return a / b if a is not None and b is not None else None


def comparison(runs, group, title, failures):
    """Prints one group's table; returns {(num, den): (median, worst)} over its expressions."""
    case_list = cases(runs, group)
    present = [c for c in COLUMNS if any(f"{group}/{c}/{case}" in t
                                         for t in runs for case in case_list)]
    ratios = [r for r in RATIOS if r[0] in present and r[1] in present]
    if not case_list or "ours" not in present:
        failures.append(f"{group}: no runs")
        return {}
    width = max(len(case) for case in case_list)
    print(f"\n{title}")
    header = "".join(f"  {HEADINGS[c]:>10}" for c in present)
    header += "".join(f"  {HEADINGS[a] + '/' + HEADINGS[b]:>15}" for a, b in ratios)
    print(f"  {'expression':<{width}}{header}")
    # per_case_ratios[r][k] = list over cases of the ratio in run k
    per_case = {r: [[] for _ in runs] for r in ratios}
    for case in case_list:
        per_run = row_times(runs, group, case)
        if any(v is None for v in per_run["ours"]):
            failures.append(f"{group}/{case}: a run is missing or failed")
        line = "".join(f"  {figure(median_or_none(per_run[c])):>10}" for c in present)
        for r in ratios:
            values = [run_ratio(per_run, r[0], r[1], k) for k in range(len(runs))]
            for k, v in enumerate(values):
                if v is not None:
                    per_case[r][k].append(v)
            line += f"  {ratio_text(median_or_none(values)):>15}"
        print(f"  {case:<{width}}{line}")
    summary = {}
    for label, pick in (("median ratio", statistics.median), ("worst ratio", max)):
        line = "".join(f"  {'':>10}" for _ in present)
        for r in ratios:
            value = median_or_none([pick(v) if v else None for v in per_case[r]])
            summary.setdefault(r, []).append(value)
            line += f"  {ratio_text(value):>15}"
        print(f"  {label:<{width}}{line}")
    return {r: tuple(v) for r, v in summary.items()}


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: format_results.py RESULT.json [RESULT.json ...]")
    loaded = [load(path) for path in sys.argv[1:]]
    context = loaded[0][0]
    runs = [times for _, times in loaded]
    failures = []
    load_average = ", ".join(f"{x:.2f}" for x in context.get("load_avg", []))
    print(f"{context.get('num_cpus', '?')} CPUs at {context.get('mhz_per_cpu', '?')} MHz, load "
          f"average {load_average or '?'} (first run); {len(runs)} run(s): each figure is the "
          "least CPU time of a run's repetitions, medians over the runs")

    evaluation = comparison(runs, "eval", "Evaluation, one parse, x y z changed each time "
                            "(time per evaluation)", failures)
    parsing = comparison(runs, "parse", "Parse and compile (time per parse)", failures)

    print("\nParse time against text size (this evaluator)")
    scaling = {}
    for shape in ("sum", "vector", "nested calls"):
        sizes = [[t.get(f"scaling/ours/{shape}/{kb} KB") for t in runs] for kb in (10, 100, 1000)]
        if any(None in s for s in sizes):
            failures.append(f"scaling/{shape}: a run is missing or failed")
            continue
        big = statistics.median(sizes[2][k] / sizes[1][k] for k in range(len(runs)))
        small = statistics.median(sizes[1][k] / sizes[0][k] for k in range(len(runs)))
        scaling[shape] = big
        figures = [figure(statistics.median(s)) for s in sizes]
        print(f"  {shape:<13} 10 KB {figures[0]:>10}   100 KB {figures[1]:>10}   "
              f"1 MB {figures[2]:>10}   100K/10K {small:5.1f}x   1M/100K {big:5.1f}x")

    print("\nFunction table and recursion")
    table = {}
    per_run = row_times(runs, "table", TABLE_CASE)
    if any(v is None for v in per_run["ours"]):
        failures.append("table: a run is missing or failed")
    else:
        parts = []
        for c in COLUMNS:
            ns = median_or_none(per_run[c])
            if ns is not None:
                parts.append(f"{HEADINGS[c]} {figure(ns)} ({ns / TABLE_POINTS:.1f} ns a point)")
        print(f"  f(x)~sin(x)*exp(-x), {TABLE_POINTS} points: " + ", ".join(parts))
        for peer in ("muparser", "exprtk", "native"):
            values = [run_ratio(per_run, "ours", peer, k) for k in range(len(runs))]
            table[peer] = median_or_none(values)
        print("  ratios: " + ", ".join(f"this/{HEADINGS[p]} {ratio_text(r)}"
                                       for p, r in table.items() if r is not None))
    for case, calls in (("Fact(170)", 171), ("Cnt(199)", 200),
                        ("Fact(0..20) by DoRunTimeFunction", 231)):
        ns = median_or_none([t.get(f"recursion/ours/{case}") for t in runs])
        if ns is None:
            failures.append(f"recursion/{case}: the run is missing or failed")
            continue
        line = f"  {case}: {figure(ns)} a run ({ns / calls:.0f} ns a call)"
        native = median_or_none([t.get(f"recursion/native/{case}") for t in runs])
        if native is not None:
            line += f", C++ {figure(native)} ({native / calls:.1f} ns a call)"
        print(line)

    print("\nGoals")
    checks = []
    exprtk = ("ours", "exprtk")
    if exprtk in evaluation:
        median, worst = evaluation[exprtk]
        checks.append(("must", "evaluation, median <= 1.2 x ExprTk", median <= 1.2))
        checks.append(("must", "evaluation, worst <= 2.0 x ExprTk", worst <= 2.0))
        checks.append(("aim ", "evaluation, median <= 1.0 x ExprTk", median <= 1.0))
    elif ("ours", "muparser") in evaluation:
        median, worst = evaluation[("ours", "muparser")]
        checks.append(("must", "evaluation, median <= 1.0 x muParser", median <= 1.0))
        checks.append(("must", "evaluation, worst <= 1.5 x muParser", worst <= 1.5))
    if exprtk in parsing:
        checks.append(("must", "parse and compile, median <= 0.5 x ExprTk",
                       parsing[exprtk][0] <= 0.5))
    elif ("ours", "muparser") in parsing:
        checks.append(("must", "parse and compile, median <= 1.5 x muParser",
                       parsing[("ours", "muparser")][0] <= 1.5))
    for shape, ratio in scaling.items():
        checks.append(("must", f"{shape}: 1 MB <= 12 x 100 KB", ratio <= 12))
    if table.get("exprtk") is not None:
        checks.append(("must", "100,000-point table <= 1.2 x ExprTk", table["exprtk"] <= 1.2))
        checks.append(("aim ", "100,000-point table <= 1.0 x ExprTk", table["exprtk"] <= 1.0))
    elif table.get("muparser") is not None:
        checks.append(("must", "100,000-point table <= 1.5 x muParser's loop",
                       table["muparser"] <= 1.5))
    for kind, text, met in checks:
        print(f"  {kind}  {'met    ' if met else 'NOT MET'}  {text}")
    for failure in failures:
        print(f"  FAILED   {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
