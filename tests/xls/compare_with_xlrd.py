#!/usr/bin/python3
"""Differential check of `tallyform-cli inspect` against xlrd (scripts/xlrd-dump).

For each file: our reader must finish (exit 0, or exit 1 with a message for a file it
cannot open) within the time limit, without a sanitizer report or runaway memory. Where
xlrd reads the file as BIFF8, its worksheets are compared with ours in order, cell by cell
(a worksheet only one side reads counts every cell of it as a disagreement):
numbers numerically (Booleans are our integers 0/1), texts exactly; xlrd's error cells and
empty texts are empty for us, and so is an error or empty formula result. Row and column
counts are compared with the counts our rules give from xlrd's cells (blank cells add none,
a sheet without values is 1 x 1).

--strict: fail on any disagreement (the fixtures). Prints the agreement figure last."""
import argparse
import json
import math
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
XLRD_DUMP = os.path.join(ROOT, "scripts", "xlrd-dump")
sys.dont_write_bytecode = True  # nothing cached into the source tree
sys.path.insert(0, os.path.join(ROOT, "tests", "tools"))
from compare_cells import SAN_ENV, limit_memory  # noqa: E402  how our reader is run


def workbook_stream(path, out):
    """Our input when no compound-file reader is linked: the raw Workbook stream."""
    data = b""
    try:
        import olefile
        with olefile.OleFileIO(path) as ole:
            if ole.exists("Workbook"):
                data = ole.openstream("Workbook").read()
    except Exception:
        pass  # not a compound document, or a damaged one: nothing to read
    with open(out, "wb") as f:
        f.write(data)


def run_ours(cli, path, via_stream, sanitized, timeout):
    env = dict(os.environ, **SAN_ENV)
    args = [cli, "inspect", path]
    tmp = None
    if via_stream:
        tmp = tempfile.NamedTemporaryFile(suffix=".bin", delete=False)
        tmp.close()
        workbook_stream(path, tmp.name)
        args = [cli, "inspect", "--stream", tmp.name]
    try:
        p = subprocess.run(args, capture_output=True, env=env, timeout=timeout,
                           preexec_fn=None if sanitized else limit_memory)
    except subprocess.TimeoutExpired:
        return None, "timed out after %ds" % timeout
    finally:
        if tmp:
            os.unlink(tmp.name)
    err = p.stderr.decode("utf-8", "replace")
    if p.returncode == 1 and not via_stream and "Sanitizer" not in err and err.strip():
        return {"sheets": []}, None  # the file could not be loaded: a clean refusal
    if p.returncode != 0 or "Sanitizer" in err or "runtime error" in err:
        return None, "exit %d: %s" % (p.returncode, err.strip()[-2000:])
    try:
        return json.loads(p.stdout.decode("utf-8")), None
    except ValueError as e:
        return None, "output is not JSON: %s" % e


def run_xlrd(path, timeout):
    try:
        p = subprocess.run([XLRD_DUMP, path], capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    if p.returncode != 0:
        return None
    try:
        return json.loads(p.stdout.decode("utf-8"))
    except ValueError:
        return None


def ours_value(cell):
    _, _, t, v = cell
    if t in (1, 2):
        return ("n", v)
    if t in (3, 4):
        return ("s", v)
    if t == 5:
        if isinstance(v, str):
            return None if v == "" else ("s", v)
        return ("n", v)
    return None


def xlrd_value(cell):
    _, _, k, v = cell
    if k in ("n", "b"):
        return ("n", float(v) if v is not None else None)
    if k == "s":
        return None if v == "" else ("s", v)
    return None  # errors


def same(a, b):
    if a[0] != b[0]:
        return False
    if a[0] == "s":
        return a[1] == b[1]
    if a[1] is None or b[1] is None:
        return a[1] is b[1]
    return a[1] == b[1] or math.isclose(a[1], b[1], rel_tol=1e-12, abs_tol=0.0)


def narrowed(ours, theirs):
    """Our text is xlrd's with every character above U+00FF as '?': an 8-bit string whose
    continued segment held such characters keeps the 8-bit form (Latin-1 mapping)."""
    return (ours[0] == theirs[0] == "s" and len(ours[1]) == len(theirs[1]) and
            "".join(c if ord(c) <= 0xFF else "?" for c in theirs[1]) == ours[1])


def expected_dims(xsheet):
    rows = [c[0] for c in xsheet["cells"] if c[1] <= 255]
    cols = [c[1] for c in xsheet["cells"] if c[1] <= 255]
    return (max(rows) + 1 if rows else 1, max(cols) + 1 if cols else 1)


def compare(ours, xl, report):
    agree = compared = narrow = 0
    dims_ok = 0
    notes = []
    if len(ours["sheets"]) != len(xl["sheets"]):
        notes.append("we read %d sheets, xlrd %d" % (len(ours["sheets"]), len(xl["sheets"])))
    empty = {"rows": 0, "cols": 0, "cells": []}
    for i in range(max(len(ours["sheets"]), len(xl["sheets"]))):
        o = ours["sheets"][i] if i < len(ours["sheets"]) else empty
        x = xl["sheets"][i] if i < len(xl["sheets"]) else empty
        exp = expected_dims(x)
        if (o["rows"], o["cols"]) == exp:
            dims_ok += 1
        else:
            notes.append("sheet %d: %dx%d, expected %dx%d" % (i, o["rows"], o["cols"], exp[0], exp[1]))
        mine = {(c[0], c[1]): ours_value(c) for c in o["cells"]}
        theirs = {(c[0], c[1]): xlrd_value(c) for c in x["cells"]}
        mine = {k: v for k, v in mine.items() if v is not None}
        theirs = {k: v for k, v in theirs.items() if v is not None}
        shown = 0
        for key in sorted(set(mine) | set(theirs)):
            compared += 1
            a, b = mine.get(key), theirs.get(key)
            if a is not None and b is not None and same(a, b):
                agree += 1
            elif a is not None and b is not None and narrowed(a, b):
                narrow += 1
            elif shown < 3:
                shown += 1
                notes.append("sheet %d cell %s: ours %r, xlrd %r" % (i, key, a, b))
    return agree, compared, narrow, dims_ok, max(len(ours["sheets"]), len(xl["sheets"])), notes


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", required=True)
    ap.add_argument("--via-stream", action="store_true")
    ap.add_argument("--sanitized", action="store_true")
    ap.add_argument("--strict", action="store_true")
    ap.add_argument("--timeout", type=int, default=60)
    ap.add_argument("files", nargs="+")
    a = ap.parse_args()
    failures = 0
    tot_agree = tot_cmp = tot_dims = tot_sheets = files_cmp = tot_narrow = 0
    for path in a.files:
        name = os.path.basename(path)
        ours, err = run_ours(a.cli, path, a.via_stream, a.sanitized, a.timeout)
        if err:
            failures += 1
            print("FAIL %s: %s" % (name, err))
            continue
        xl = run_xlrd(path, 120)
        if xl is None:
            print("ok   %s: loaded (%d sheets); xlrd cannot read it" % (name, len(ours["sheets"])))
            continue
        if xl["biff"] != 80:
            print("ok   %s: loaded (%d sheets); BIFF%d, not compared" % (name, len(ours["sheets"]), xl["biff"] // 10))
            continue
        agree, compared, narrow, dims_ok, sheets, notes = compare(ours, xl, None)
        tot_narrow += narrow
        files_cmp += 1
        tot_agree += agree
        tot_cmp += compared
        tot_dims += dims_ok
        tot_sheets += sheets
        status = "ok  " if agree == compared and dims_ok == sheets else "DIFF"
        if status == "DIFF" and a.strict:
            failures += 1
        print("%s %s: %d/%d cells agree%s, %d/%d sheet sizes, sheets ours %d xlrd %d"
              % (status, name, agree, compared, " (%d narrowed)" % narrow if narrow else "",
                 dims_ok, sheets, len(ours["sheets"]), len(xl["sheets"])))
        for n in notes:
            print("       " + n)
    pct = 100.0 * tot_agree / tot_cmp if tot_cmp else 100.0
    print("agreement: %d/%d cells (%.3f%%), %d more narrowed to 8-bit with '?', %d/%d sheet sizes, "
          "over %d files compared with xlrd" % (tot_agree, tot_cmp, pct, tot_narrow, tot_dims, tot_sheets, files_cmp))
    print("%d passed, %d failed" % (len(a.files) - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
