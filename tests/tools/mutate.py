#!/usr/bin/env python3
"""A mutation sample of the library: how many small faults does the test suite catch?

Single mutations are chosen deterministically from the library's sources (never its tests):
relational and equality operators turned (< into <=, == into != ...), arithmetic operators
swapped (+ and -, * and /), integer constants moved by one, simple statements dropped, and
std::min / std::max exchanged. The sample is spread over every unit in proportion to its
size (at least MIN_PER_UNIT each). For each mutant the script patches a private copy of the
tree (build/mutation/src), rebuilds the default preset's tests there, runs them (slow tests
excluded, stopping at the first failure, TIMEOUT seconds at most), and records whether a test
killed it. Mutants that do not compile are replaced by the next candidate of the same unit.

    tests/tools/mutate.py [--count 150] [--seed 2026] [--list] [--work DIR] [--only FILE]

--list prints the chosen mutants without running them. --work names the private folder
(default build/mutation), so that two revisions can be measured side by side. Results go to
<work>/results.txt (one line per mutant: KILLED / SURVIVED / TIMEOUT) and a summary to
the terminal. A full run of 150 mutants takes one to two hours on two cores.

--only FILE reruns the mutants listed in an earlier results file (lines "VERDICT
path:line kind"), for example only those killed before, to check a changed test suite
against them without the rest of the sample. The library sources must be unchanged since
that run, so that the sample is the same; of several candidates with the same file, line
and kind, the first in the sample's order that compiles is taken, as in the full run.
"""
import argparse
import collections
import os
import random
import re
import shutil
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
WORK = ROOT / "build" / "mutation"
SRC = WORK / "src"


def set_work(path):
    global WORK, SRC
    WORK = Path(path).resolve()
    SRC = WORK / "src"
TIMEOUT = 600
MIN_PER_UNIT = 5

# (name, pattern, replacement) applied at one match of the pattern in a line of code.
OPERATORS = [
    ("lt->le", r"(?<=[\w\)\]]) < (?=[\w\(\-])", " <= "),
    ("le->lt", r" <= ", " < "),
    ("gt->ge", r"(?<=[\w\)\]]) > (?=[\w\(\-])", " >= "),
    ("ge->gt", r" >= ", " > "),
    ("eq->ne", r" == ", " != "),
    ("ne->eq", r" != ", " == "),
    ("add->sub", r"(?<=[\w\)\]]) \+ (?=[\w\(])", " - "),
    ("sub->add", r"(?<=[\w\)\]]) - (?=[\w\(])", " + "),
    ("mul->div", r"(?<=[\w\)\]]) \* (?=[\w\(])", " / "),
    ("min->max", r"std::min\b", "std::max"),
    ("max->min", r"std::max\b", "std::min"),
]
CONSTANT = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
STATEMENT = re.compile(r"^\s+(?!return|if|for|while|else|case|default|break|continue|const |auto |"
                       r"static |using |throw |try|catch|do\b|switch|[A-Za-z_:<>]+[*&]? \w+ *[=;({])"
                       r"[^;{}]*;\s*$")


def code_part(line):
    """The line without a trailing comment and without string literals."""
    line = re.sub(r'"(\\.|[^"\\])*"', '""', line)
    return line.split("//", 1)[0]


def candidates(path):
    out = []
    in_block_comment = False
    for n, raw in enumerate(path.read_text().splitlines(), 1):
        stripped = raw.strip()
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if not stripped or stripped.startswith(("//", "#", "static_assert", "template")):
            continue
        code = code_part(raw)
        for name, pat, rep in OPERATORS:
            for m in re.finditer(pat, code):
                out.append((n, m.start(), name, pat, rep))
        for m in CONSTANT.finditer(code):
            if "[" in code[:m.start()][-2:]:
                continue
            out.append((n, m.start(), "const+1", None, str(int(m.group(1)) + 1)))
        if STATEMENT.match(code) and "=" in code:
            out.append((n, 0, "drop", None, None))
    return out


def apply(text, cand):
    n, col, name, pat, rep = cand
    lines = text.split("\n")
    line = lines[n - 1]
    if name == "drop":
        indent = len(line) - len(line.lstrip())
        lines[n - 1] = line[:indent] + ";  // mutant: statement dropped"
    elif name == "const+1":
        m = CONSTANT.match(line, col)
        if not m:
            return None
        lines[n - 1] = line[:m.start()] + rep + line[m.end():]
    else:
        m = re.compile(pat).search(line, col)
        if not m or m.start() != col:
            return None
        lines[n - 1] = line[:m.start()] + rep + line[m.end():]
    return "\n".join(lines)


def unit_of(path):
    return path.relative_to(ROOT / "zeq").parts[0]


def library_sources():
    return sorted(p for p in (ROOT / "zeq").rglob("*.cc")
                  if not p.name.endswith("_test.cc") and "testing" not in p.parts)


def choose(count, seed):
    by_unit = {}
    for p in library_sources():
        for c in candidates(p):
            by_unit.setdefault(unit_of(p), []).append((p, c))
    total = sum(len(v) for v in by_unit.values())
    rng = random.Random(seed)
    plan = {}
    for unit, cands in sorted(by_unit.items()):
        rng.shuffle(cands)
        plan[unit] = cands
    quota = {u: max(MIN_PER_UNIT, round(count * len(c) / total)) for u, c in plan.items()}
    return plan, quota


def run(cmd, timeout=None):
    return subprocess.run(cmd, cwd=SRC, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=timeout).returncode


def prepare():
    WORK.mkdir(parents=True, exist_ok=True)
    if SRC.exists():
        shutil.rmtree(SRC)
    # Only the files git tracks: build trees and packaging leftovers stay behind.
    tracked = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, capture_output=True,
                             check=True).stdout.decode().split("\0")
    for name in filter(None, tracked):
        (SRC / name).parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(ROOT / name, SRC / name)
    if run(["cmake", "--preset", "default"]) or run(["cmake", "--build", "--preset", "default"]):
        sys.exit("the unmutated tree does not build")
    if run(["ctest", "--preset", "default"], TIMEOUT):
        sys.exit("the unmutated tree fails its tests")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--count", type=int, default=150)
    ap.add_argument("--seed", type=int, default=2026)
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--work", default=str(WORK))
    ap.add_argument("--only", help="an earlier results file: rerun exactly its mutants")
    args = ap.parse_args()
    only = None
    if args.only:
        only = collections.Counter(" ".join(l.split()[1:3]) for l in open(args.only) if l.strip())
    set_work(args.work)
    plan, quota = choose(args.count, args.seed)
    if args.list:
        for unit, cands in plan.items():
            for p, (n, col, name, _, rep) in cands[:quota[unit]]:
                print(f"{p.relative_to(ROOT)}:{n}:{col} {name}")
        return
    prepare()
    results = []
    for unit, cands in plan.items():
        done = 0
        for p, cand in cands:
            if only is None and done == quota[unit]:
                break
            rel = p.relative_to(ROOT)
            key = f"{rel}:{cand[0]} {cand[2]}"
            if only is not None and only[key] == 0:
                continue
            target = SRC / rel
            original = target.read_text()
            mutated = apply(original, cand)
            if mutated is None or mutated == original:
                continue
            target.write_text(mutated)
            try:
                if run(["cmake", "--build", "--preset", "default"], TIMEOUT):
                    continue  # does not compile: not a mutant
                try:
                    failed = run(["ctest", "--preset", "default", "--stop-on-failure"], TIMEOUT)
                    verdict = "KILLED" if failed else "SURVIVED"
                except subprocess.TimeoutExpired:
                    verdict = "TIMEOUT"  # counts as killed: the fault is noticed
                done += 1
                if only is not None:
                    only[key] -= 1
                line = f"{verdict} {key}"
                results.append(line)
                print(line, flush=True)
            finally:
                target.write_text(original)
        run(["cmake", "--build", "--preset", "default"])
    (WORK / "results.txt").write_text("\n".join(results) + "\n")
    survived = [r for r in results if r.startswith("SURVIVED")]
    print(f"{len(results)} mutants, {len(results) - len(survived)} killed, "
          f"{len(survived)} survived")


if __name__ == "__main__":
    main()
