#!/usr/bin/env python3
"""Peer for the benchmarks: opens an .ods with odfpy (python3-odf) and reads every cell of
every table, repeats included, as its users do."""
import sys
from odf.opendocument import load
from odf.table import Table, TableCell, TableRow
from odf.namespaces import OFFICENS, TABLENS

doc = load(sys.argv[1])
cells = text = 0
total = 0.0
tables = doc.spreadsheet.getElementsByType(Table)
for table in tables:
    for row in table.getElementsByType(TableRow):
        rows = int(row.attributes.get((TABLENS, "number-rows-repeated"), 1))
        for cell in row.getElementsByType(TableCell):
            kind = cell.attributes.get((OFFICENS, "value-type"))
            if kind is None:
                continue
            repeat = rows * int(cell.attributes.get((TABLENS, "number-columns-repeated"), 1))
            cells += repeat
            if kind in ("float", "percentage", "currency"):
                total += float(cell.attributes.get((OFFICENS, "value"))) * repeat
            else:
                text += len(str(cell)) * repeat
print(f"sheets={len(tables)} cells={cells} text={text} sum={total:.6g}")
