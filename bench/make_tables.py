#!/usr/bin/env python3
"""Writes a generated settings table and setlist for timing whole builds.

usage: make_tables.py OUTDIR [ROWS]   (ROWS defaults to 100000)
OUTDIR/settings.csv gets ROWS settings rows; OUTDIR/setlist.csv gets ROWS entries, about 90%
of them naming a settings row (in mixed case), the rest unknown. Same layout as build_bench.
"""
import os
import random
import sys


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    out = sys.argv[1]
    rows = int(sys.argv[2]) if len(sys.argv) == 3 else 100000
    os.makedirs(out, exist_ok=True)
    rng = random.Random(7)
    with open(os.path.join(out, "settings.csv"), "w", newline="\n") as f:
        for i in range(rows):
            f.write(f'song {i:06d},Song Title {i},P{i % 128:03d},"capo {i % 5}, verse soft",{60 + i % 140}\n')
    with open(os.path.join(out, "setlist.csv"), "w", newline="\n") as f:
        for i in range(rows):
            if rng.random() < 0.9:
                f.write(f"Song {rng.randrange(rows):06d}\n")
            else:
                f.write(f"Unknown {i}\n")


if __name__ == "__main__":
    main()
