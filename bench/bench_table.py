#!/usr/bin/env python3
"""Turns the benchmarks' summary lines (BENCH name figure unit peak-MiB) into
the README's performance table; with a second summary from a build before a
change, adds each figure's ratio to it.

  bench/bench_table.py build-release/bench-summary.txt [before.txt] [--readme README.md]

With --readme the table between the README's bench-table markers is replaced."""
import re
import sys

BEGIN, END = "<!-- bench-table -->", "<!-- /bench-table -->"


def read_summary(path):
    figures = {}
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 5 and parts[0] == "BENCH":
                figures[parts[1]] = (float(parts[2]), parts[3], float(parts[4]))
    return figures


def table(now, before):
    head = "| Benchmark | Figure | Peak RSS |" + (" Before | Ratio |" if before else "")
    rule = "|---|---|---|" + ("---|---|" if before else "")
    rows = [head, rule]
    for name, (figure, unit, peak) in now.items():
        row = f"| {name} | {figure:.4g} {unit} | {peak:.0f} MiB |"
        if before:
            if name in before and before[name][0] > 0:
                old = before[name]
                row += f" {old[0]:.4g} {old[1]}, {old[2]:.0f} MiB | {figure / old[0]:.2f} |"
            else:
                row += " | |"
        rows.append(row)
    return "\n".join(rows)


def main(argv):
    readme = None
    if "--readme" in argv:
        i = argv.index("--readme")
        readme = argv[i + 1]
        argv = argv[:i] + argv[i + 2:]
    if not argv:
        sys.exit(__doc__)
    text = table(read_summary(argv[0]), read_summary(argv[1]) if len(argv) > 1 else None)
    if not readme:
        print(text)
        return
    with open(readme) as f:
        content = f.read()
    if BEGIN not in content or END not in content:
        sys.exit(f"{readme} has no {BEGIN} ... {END} section")
    content = re.sub(re.escape(BEGIN) + ".*?" + re.escape(END), lambda _: f"{BEGIN}\n{text}\n{END}", content,
                     flags=re.S)
    with open(readme, "w") as f:
        f.write(content)


if __name__ == "__main__":
    main(sys.argv[1:])
