#!/usr/bin/env python3
"""Peer for the benchmarks: opens an .xlsx with openpyxl in read-only mode (its fastest,
streaming) and reads every cell of every worksheet."""
import sys
import openpyxl

book = openpyxl.load_workbook(sys.argv[1], read_only=True, data_only=True)
cells = text = 0
total = 0.0
for sheet in book.worksheets:
    for row in sheet.iter_rows(values_only=True):
        for v in row:
            if v is None:
                continue
            cells += 1
            if isinstance(v, str):
                text += len(v)
            elif isinstance(v, (int, float)):
                total += v
print(f"sheets={len(book.worksheets)} cells={cells} text={text} sum={total:.6g}")
