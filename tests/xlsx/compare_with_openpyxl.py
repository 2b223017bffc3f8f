#!/usr/bin/python3
"""Differential check of the .xlsx reader (tests/tools/workbook_dump) against openpyxl.

For each file: our reader must finish (exit 0, or 2 for a file it does not load) within the
time limit, without a sanitizer report. Where openpyxl reads the file (data_only, so formula
cells give their cached results), its worksheets are compared with ours in order, cell by
cell: numbers numerically (openpyxl's dates and times as the serial numbers stored, Booleans
as our integers 0/1), texts exactly once `_xHHHH_` escapes are decoded (openpyxl leaves
some), a date stored as ISO text (t="d") by its serial number. The intended differences:
openpyxl's error values and empty texts, and empty formula results, are empty for us. Row
and column counts are compared with the counts our rules give from openpyxl's cells (values,
error values and formulas size a sheet; one without any is 1 x 1).

Prints the disagreements and, last, "agreement: A / C cells"; exits 1 when a file crashed
or hung, or with --strict on any disagreement."""
import argparse
import datetime
import math
import os
import re
import subprocess
import sys
import warnings

ESCAPE = re.compile(r"_x([0-9A-Fa-f]{4})_")
ERRORS = {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A", "#GETTING_DATA"}


def ours(dump, path):
    try:
        run = subprocess.run([dump, path], capture_output=True, timeout=120)
    except subprocess.TimeoutExpired:
        return "hung", None
    if run.returncode == 2:
        return "refused", None
    if run.returncode != 0:
        return "crashed (%d): %s" % (run.returncode, run.stderr.decode(errors="replace")[-500:]), None
    sheets = []
    for line in run.stdout.decode("utf-8", errors="replace").split("\n"):
        f = line.split("\t")
        if f[0] == "S":
            sheets.append({"rows": int(f[2]), "cols": int(f[3]), "name": f[4], "cells": {}})
        elif f[0] == "C":
            text = f[4].replace("\\n", "\n").replace("\\t", "\t").replace("\\r", "\r").replace("\\\\", "\\")
            kind = f[3]
            value = float(text) if kind in ("n", "fn", "b", "fb") else text if kind in ("s", "fs") else None
            if value is not None:
                sheets[-1]["cells"][(int(f[1]), int(f[2]))] = value
    return "loaded", sheets


def decode_escapes(text):
    units = []
    pos = 0
    for m in ESCAPE.finditer(text):
        units.append(text[pos:m.start()])
        units.append(chr(int(m.group(1), 16)))
        pos = m.end()
    units.append(text[pos:])
    return "".join(units).encode("utf-16", "surrogatepass").decode("utf-16", "replace")


def theirs(path):
    import openpyxl
    from openpyxl.utils.datetime import to_excel
    dates = (datetime.datetime, datetime.date, datetime.time, datetime.timedelta)
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        values = openpyxl.load_workbook(path, read_only=True, data_only=True)
        formulas = openpyxl.load_workbook(path, read_only=True, data_only=False)
        epoch = values.epoch
        sheets = []
        for ws, wf in zip(values.worksheets, formulas.worksheets):
            cells, sizing = {}, set()
            for w in (ws, wf):
                w.reset_dimensions()  # read-only mode otherwise trusts the sheet's own <dimension>
            for row in wf.iter_rows():
                for cell in row:
                    v = getattr(cell, "value", None)  # read-only mode pads rows with EmptyCell
                    if isinstance(v, str) and v.startswith("="):
                        sizing.add((cell.row - 1, cell.column - 1))
            for row in ws.iter_rows():
                for cell in row:
                    v = getattr(cell, "value", None)
                    if v is None:
                        continue
                    pos = (cell.row - 1, cell.column - 1)
                    if isinstance(v, str) and v in ERRORS:
                        sizing.add(pos)
                    if v is None or (isinstance(v, str) and (v == "" or v in ERRORS)):
                        continue
                    if isinstance(v, (bool, int, float)):
                        v = float(v)
                    elif isinstance(v, dates):
                        v = ("date", float(to_excel(v, epoch)))
                    elif isinstance(v, str):
                        v = decode_escapes(v)
                    cells[pos] = v
                    sizing.add(pos)
            sheets.append({"name": ws.title, "cells": cells, "sizing": sizing, "epoch": epoch})
        values.close()
        formulas.close()
    return sheets


def iso_serial(text, epoch):
    from openpyxl.utils.datetime import to_excel
    for parse in (datetime.datetime.fromisoformat, datetime.time.fromisoformat):
        try:
            return float(to_excel(parse(text), epoch))
        except ValueError:
            pass
    return None


def same(a, b, epoch=None):
    if isinstance(b, tuple):  # a date or time: ours is its serial, or its ISO text
        a = iso_serial(a, epoch) if isinstance(a, str) else a
        b = b[1]
    if isinstance(a, float) and isinstance(b, float):
        return a == b or (math.isfinite(a) and abs(a - b) <= 1e-9 * max(1.0, abs(a)))
    return a == b


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("dump")
    ap.add_argument("files", nargs="+")
    ap.add_argument("--strict", action="store_true")
    args = ap.parse_args()
    agree = compared = failed = differing = 0
    for path in sorted(args.files):
        name = os.path.basename(path)
        status, mine = ours(args.dump, path)
        if status in ("hung",) or status.startswith("crashed"):
            print("%s: %s" % (name, status))
            failed += 1
            continue
        try:
            other = theirs(path)
        except Exception as e:  # openpyxl cannot read it: nothing to compare
            print("%s: openpyxl does not read it (%s); ours %s" % (name, type(e).__name__, status))
            continue
        if mine is None:
            print("%s: openpyxl reads it, ours refused" % name)
            n = sum(len(s["cells"]) for s in other)
            compared += n
            differing += n > 0
            continue
        notes = []
        if len(mine) != len(other):
            notes.append("%d sheets, openpyxl %d" % (len(mine), len(other)))
            if not other:  # strict Open XML, which openpyxl does not read: nothing to compare
                print("%s: openpyxl reads no worksheet; ours %d" % (name, len(mine)))
                continue
        for s, (a, b) in enumerate(zip(mine, other)):
            rows = max([r for r, _ in b["sizing"]], default=0) + 1
            cols = max([c for _, c in b["sizing"]], default=0) + 1
            # An empty formula result holds no value to compare.
            a["cells"] = {k: v for k, v in a["cells"].items() if v != ""}
            if (a["rows"], a["cols"]) != (rows, cols):
                notes.append("sheet %d size %dx%d, openpyxl %dx%d" % (s, a["rows"], a["cols"], rows, cols))
            for pos in sorted(set(a["cells"]) | set(b["cells"])):
                compared += 1
                x, y = a["cells"].get(pos), b["cells"].get(pos)
                if x is not None and y is not None and same(x, y, b["epoch"]):
                    agree += 1
                elif len(notes) < 8:
                    notes.append("sheet %d %s: ours %r, openpyxl %r" % (s, pos, x, y))
        if notes:
            differing += 1
            print("%s: %s" % (name, "; ".join(notes)))
    print("files with differences: %d; crashed or hung: %d" % (differing, failed))
    print("agreement: %d / %d cells" % (agree, compared))
    return 1 if failed or (args.strict and agree != compared) else 0


if __name__ == "__main__":
    sys.exit(main())
