#!/usr/bin/env python3
"""Seeds for the .xlsx and .ods fuzz targets from real packages: for fuzz_xlsx_book, the
parts package_input.h expects (NUL-separated, each sheet renamed to its fixed slot); for
fuzz_ods_book, the content part. Usage: make_package_seeds.py TARGET OUTDIR FILE..."""
import os
import posixpath
import re
import sys
import zipfile

target, out, files = sys.argv[1], sys.argv[2], sys.argv[3:]
os.makedirs(out, exist_ok=True)
LIMIT = 256 * 1024  # keep each seed small enough for quick runs


def read(z, name):
    try:
        return z.read(name)
    except KeyError:
        return b""


for path in files:
    try:
        z = zipfile.ZipFile(path)
        if target == "fuzz_ods_book":
            seed = read(z, "content.xml")
        else:
            rels = read(z, "xl/_rels/workbook.xml.rels")
            sheets = [posixpath.normpath("xl/" + t.decode()) for t in re.findall(rb'Target="([^"]*worksheets/[^"]*)"', rels)]
            parts = [read(z, "_rels/.rels"), read(z, "xl/workbook.xml"), rels, read(z, "xl/sharedStrings.xml")]
            parts += [read(z, s.lstrip("/")) for s in sheets[:2]]
            seed = b"\0".join(p.replace(b"\0", b"") for p in parts)
    except Exception:
        continue
    if seed and len(seed) <= LIMIT:
        with open(os.path.join(out, os.path.basename(path) + ".seed"), "wb") as f:
            f.write(seed)
