#!/usr/bin/env python3
"""Generates the benchmark tables deterministically (fixed seed) into a folder:
  big.csv       65,535 rows x 6 columns (header + songs, mostly unique strings) -> big.xls
  sparse.csv    values in 20 full rows and a few near row 65,535, 256 columns   -> sparse.xls
  set30.csv     a 30-entry setlist drawn from big.csv's names
  settings100k.csv / setlist100k.csv   the 100,000 x 100,000 text join (about 90% matching)
  settings100k-1252.csv / setlist100k-1252.csv   the same join in Windows-1252, as Excel saves
                it, with an accented letter in every name and title
The .csv files meant for workbooks are converted by the caller (LibreOffice)."""
import os
import random
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
rng = random.Random(20261207)
words = ("blue red night road home fire rain gold heart river storm light dream "
         "stone wild moon sun ghost glass echo north south train city").split()

def title():
    return " ".join(rng.choice(words).capitalize() for _ in range(rng.randint(2, 4)))

with open(os.path.join(out, "big.csv"), "w", newline="") as f:
    f.write("name,song,patch,notes,bpm,comment\n")
    for i in range(1, 65535):
        f.write(f"song{i:05d},{title()} {i},P{rng.randint(1, 128):03d},"
                f"note {rng.getrandbits(40):x},{rng.randint(60, 200)},{i * 1.5}\n")

with open(os.path.join(out, "set30.csv"), "w", newline="") as f:
    for i in rng.sample(range(1, 65535), 30):
        f.write(f"SONG{i:05d}\n")

with open(os.path.join(out, "sparse.csv"), "w", newline="") as f:
    rows = 65536
    full = set(range(20))
    tail = {65530: 3, 65533: 100, 65535: 255}
    for r in range(rows):
        if r in full:
            f.write(",".join(f"r{r}c{c}" if c % 2 else str(r * 1000 + c) for c in range(256)) + "\n")
        elif r in tail:
            f.write("," * tail[r] + "x" + "\n")
        else:
            f.write("\n")

with open(os.path.join(out, "settings100k.csv"), "w", newline="") as f:
    for i in range(100000):
        f.write(f"track{i:06d},{title()} {i},P{rng.randint(1, 128):03d},"
                f"{'capo ' + str(rng.randint(1, 7)) if rng.random() < 0.5 else ''},"
                f"{rng.randint(60, 200) if rng.random() < 0.9 else ''}\n")

with open(os.path.join(out, "setlist100k.csv"), "w", newline="") as f:
    for _ in range(100000):
        if rng.random() < 0.9:
            f.write(f"Track{rng.randrange(100000):06d}\n")
        else:
            f.write(f"missing{rng.randrange(10**6)}\n")

# The same two tables in Windows-1252: every name and title gains an accented letter.
for name in ("settings100k", "setlist100k"):
    with open(os.path.join(out, name + ".csv"), encoding="ascii", newline="") as src, \
         open(os.path.join(out, name + "-1252.csv"), "w", encoding="cp1252", newline="") as f:
        for line in src:
            f.write(line.replace("rack", "r\u00e4ck").replace("issing", "iss\u00efng")
                    .replace(",", ",\u00c9t\u00e9 ", 1))
