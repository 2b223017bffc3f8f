#!/usr/bin/python3
"""Compares what our readers see in workbooks (`tallyform-cli inspect`) with a reference
reading of the same table, for the differential tests.

Usage: compare_cells.py --cli CLI [--strict] [--sanitized] [--timeout S]
                        [--expect-difference CELL]... PAIR...
  PAIR is FILE: our reading of FILE against openpyxl's (scripts/openpyxl-dump, the one place
  that says what openpyxl reads, normalised); or FILE=REFERENCE: our reading of FILE against
  REFERENCE, the same table saved by another writer, read by openpyxl when it is .xlsx/.xlsm
  and by our own inspect otherwise (the .xls reader, itself checked against xlrd).

  --sanitized: CLI is a sanitizer build (its own memory limit then applies, not ours).
  --expect-difference NAME:SHEET:ROW:COL names a cell of FILE NAME (its base name) that is
  known to differ, for a reason the caller states (a writer that loses something on saving):
  it is left out of the count, and reported should it ever agree.

Both sides are in inspect's shape and are compared alike: worksheets in order, sizes exactly,
values by kind, not by type code: numbers numerically (Booleans are 0 and 1, and a writer may
store a whole number or TRUE as a number), texts exactly whatever their width, formulas by
their stored result (an empty result holds no value).

Prints one line per file that differs (or crashed, hung or was refused) and, last,
"agreement: A / C cells". Exits 1 when our reader crashed, hung, ran past 4 GiB or reported a
sanitizer error, and with --strict on any difference."""
import argparse
import importlib.machinery
import json
import math
import os
import resource
import subprocess
import sys
import types

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SAN_ENV = {"ASAN_OPTIONS": "exitcode=86:hard_rss_limit_mb=2048:detect_leaks=1",
           "UBSAN_OPTIONS": "exitcode=86:print_stacktrace=1"}


def limit_memory():
    resource.setrlimit(resource.RLIMIT_AS, (4 << 30, 4 << 30))


def load_openpyxl_dump():
    sys.dont_write_bytecode = True  # nothing cached into the source tree
    path = os.path.join(ROOT, "scripts", "openpyxl-dump")
    module = types.ModuleType("openpyxl_dump")
    importlib.machinery.SourceFileLoader("openpyxl_dump", path).exec_module(module)
    return module


class Refused(Exception):
    pass


class Broke(Exception):
    """Our reader crashed, hung or reported a sanitizer error."""


def inspect(cli, path, timeout, sanitized):
    try:
        run = subprocess.run([cli, "inspect", path], capture_output=True, timeout=timeout,
                             env=dict(os.environ, **SAN_ENV), preexec_fn=None if sanitized else limit_memory)
    except subprocess.TimeoutExpired:
        raise Broke("hung")
    err = run.stderr.decode(errors="replace")
    # A refusal is exit 1 with our own one-line message and nothing else.
    if run.returncode == 1 and err.startswith("tallyform-cli: ") and err.count("\n") == 1:
        raise Refused(err.strip())
    if run.returncode != 0 or err:
        raise Broke("exit %d: %s" % (run.returncode, err[-500:]))
    return json.loads(run.stdout)


def value(cell):
    """A cell's value by kind: ("n", number) or ("s", text); None when it holds none."""
    _, _, _, v = cell
    if isinstance(v, str):
        return ("s", v) if v != "" else None
    if v is None:
        return None
    return ("n", float(v))


def sheets(doc):
    out = []
    for s in doc["sheets"]:
        cells = {}
        for c in s["cells"]:
            v = value(c)
            if v is not None:
                cells[(c[0], c[1])] = v
        out.append(((s["rows"], s["cols"]), cells))
    return out


def same(a, b):
    if a[0] != b[0] or a[0] != "n":
        return a == b
    return a[1] == b[1] or math.isclose(a[1], b[1], rel_tol=1e-12, abs_tol=0.0)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", required=True)
    ap.add_argument("--strict", action="store_true")
    ap.add_argument("--sanitized", action="store_true")
    ap.add_argument("--timeout", type=float, default=120)
    ap.add_argument("--expect-difference", action="append", default=[])
    ap.add_argument("pairs", nargs="+")
    args = ap.parse_args()
    expected = set()
    for cell in args.expect_difference:
        name, sheet, row, col = cell.rsplit(":", 3)
        expected.add((name, int(sheet), int(row), int(col)))
    openpyxl_dump = None
    agree = compared = differing = broke = 0
    for pair in args.pairs:
        path, _, reference = pair.partition("=")
        reference = reference or path
        name = os.path.basename(path)
        try:
            if reference.endswith((".xlsx", ".xlsm")):
                openpyxl_dump = openpyxl_dump or load_openpyxl_dump()
                theirs = sheets(openpyxl_dump.dump(reference))
            else:
                theirs = sheets(inspect(args.cli, reference, args.timeout, args.sanitized))
        except Exception as e:  # the reference does not read it: nothing to compare with
            theirs = None
            why = "%s: %s" % (type(e).__name__, str(e)[:200])
        try:
            ours = sheets(inspect(args.cli, path, args.timeout, args.sanitized))
        except Broke as e:
            print("%s: ours %s" % (name, e))
            broke += 1
            continue
        except Refused as e:
            ours = None
            refused = str(e)
        if theirs is None:
            print("%s: the reference does not read it (%s); ours %s" % (name, why, "refused" if ours is None else "loads"))
            differing += args.strict
            continue
        if ours is None:
            n = sum(len(cells) for _, cells in theirs)
            print("%s: the reference reads %d cells, ours refused (%s)" % (name, n, refused))
            compared += n
            differing += 1
            continue
        notes = []
        if len(ours) != len(theirs):
            notes.append("%d sheets, the reference %d" % (len(ours), len(theirs)))
        for i, ((od, oc), (td, tc)) in enumerate(zip(ours, theirs)):
            if od != td:
                notes.append("sheet %d size %dx%d, the reference %dx%d" % (i, od[0], od[1], td[0], td[1]))
            for key in sorted(set(oc) | set(tc)):
                agrees = key in oc and key in tc and same(oc[key], tc[key])
                if (name, i) + key in expected:
                    if agrees:
                        notes.append("sheet %d cell %s: expected to differ, agrees" % (i, key))
                    continue
                compared += 1
                if agrees:
                    agree += 1
                elif len(notes) < 10:
                    notes.append("sheet %d cell %s: ours %r, the reference %r" % (i, key, oc.get(key), tc.get(key)))
        if notes:
            differing += 1
            print("%s: %s" % (name, "; ".join(notes)))
    print("files with differences: %d; crashed or hung: %d" % (differing, broke))
    print("agreement: %d / %d cells" % (agree, compared))
    return 1 if broke or (args.strict and differing) else 0


if __name__ == "__main__":
    sys.exit(main())
