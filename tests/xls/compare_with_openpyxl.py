#!/usr/bin/python3
"""Checks scripts/openpyxl-dump against our .xls reader on twin fixtures: each NAME.xlsx
given is compared with NAME.xls beside it, the same table saved by the same writer, as
`tallyform-cli inspect` reads it. Sheets, sizes and values must agree: numbers numerically
(whole numbers, Booleans and numbers are one kind: a writer may store TRUE as the number
1), texts exactly whatever their width, formulas by their stored results.
Exit 1 on any difference; prints one line per pair."""
import argparse
import json
import math
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DUMP = os.path.join(os.path.dirname(os.path.dirname(HERE)), "scripts", "openpyxl-dump")


def value(cell):
    _, _, t, v = cell
    if t == 5:
        t = 3 if isinstance(v, str) else 2
        if v == "":
            return ("formula", "")
    return ("s", v) if t in (3, 4) else ("n", float(v) if v is not None else None)


def same(a, b):
    if a[0] != b[0] or a[0] != "n" or a[1] is None or b[1] is None:
        return a == b
    return a[1] == b[1] or math.isclose(a[1], b[1], rel_tol=1e-12, abs_tol=0.0)


def sheets(doc):
    return [((s["rows"], s["cols"]), {(c[0], c[1]): value(c) for c in s["cells"]}) for s in doc["sheets"]]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", required=True)
    ap.add_argument("files", nargs="+")
    a = ap.parse_args()
    failures = 0
    for path in a.files:
        twin = os.path.splitext(path)[0] + ".xls"
        theirs = subprocess.run([DUMP, path], capture_output=True)
        ours = subprocess.run([a.cli, "inspect", twin], capture_output=True)
        if theirs.returncode or ours.returncode:
            failures += 1
            print("FAIL %s: %s%s" % (os.path.basename(path), theirs.stderr.decode(), ours.stderr.decode()))
            continue
        x, o = sheets(json.loads(theirs.stdout)), sheets(json.loads(ours.stdout))
        notes = []
        if len(x) != len(o):
            notes.append("sheets: openpyxl %d, xls %d" % (len(x), len(o)))
        for i, ((xd, xc), (od, oc)) in enumerate(zip(x, o)):
            if xd != od:
                notes.append("sheet %d: openpyxl %dx%d, xls %dx%d" % (i, xd[0], xd[1], od[0], od[1]))
            for key in sorted(set(xc) | set(oc)):
                if key not in xc or key not in oc or not same(xc[key], oc[key]):
                    notes.append("sheet %d cell %s: openpyxl %r, xls %r" % (i, key, xc.get(key), oc.get(key)))
        failures += bool(notes)
        print("%s %s: %d sheets" % ("DIFF" if notes else "ok  ", os.path.basename(path), len(x)))
        for n in notes[:10]:
            print("       " + n)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
