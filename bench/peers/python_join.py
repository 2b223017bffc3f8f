#!/usr/bin/env python3
"""Peer for the benchmarks: a dict-of-lists join of a settings CSV with a setlist CSV that
writes the same JSON document as the tool (same fields, same order, same escaping)."""
import sys

def fields(line):
    out, cur, quoted = [], [], False
    for ch in line:
        if ch == "," and not quoted:
            out.append("".join(cur)); cur = []
        elif ch == '"':
            quoted = not quoted
        else:
            cur.append(ch)
    out.append("".join(cur))
    return (out + [""] * 5)[:5]

def esc(s):
    return s.replace("\\", "\\\\").replace('"', '\\"')

setlist_path, settings_path, out_path = sys.argv[1:4]
index = {}
with open(settings_path, encoding="latin-1", newline="") as f:
    for line in f.read().split("\n"):
        f5 = fields(line.removesuffix("\r"))
        if f5[0]:
            index.setdefault(f5[0].lower(), []).append(f5)
records = []
with open(setlist_path, encoding="latin-1", newline="") as f:
    data = f.read()
    lines = data.split("\n")
    if data.endswith("\n"):
        lines.pop()
    for line in lines:
        name = fields(line.removesuffix("\r"))[0]
        if not name:
            continue
        for row in index.get(name.lower(), ()):
            bpm = str(int(row[4])) if row[4] else ""
            records.append('{"song":"%s","patch":"%s","notes":"%s","bpm":"%s"}'
                           % (esc(row[1]), esc(row[2]), esc(row[3]), bpm))
with open(out_path, "w", encoding="latin-1", newline="") as f:
    f.write("[" + ",".join(records) + "]")
