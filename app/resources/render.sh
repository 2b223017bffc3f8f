#!/usr/bin/env bash
# Regenerates the shipped artwork from its SVG sources (needs librsvg2-bin and imagemagick).
set -euo pipefail
cd "$(dirname "$0")"
rsvg-convert -w 720 -h 150 logo.svg -o logo.png
for s in 16 24 32 48 64 256; do rsvg-convert -w $s -h $s tallyform.svg -o icon-$s.png; done
convert icon-16.png icon-24.png icon-32.png icon-48.png icon-64.png icon-256.png setlist.ico
cp icon-256.png tallyform-256.png
rm -f icon-*.png
