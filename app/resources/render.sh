#!/usr/bin/env bash
# Regenerates the shipped artwork from its SVG sources (needs librsvg2-bin and imagemagick):
# the logo, the desktop's hicolor icons tallyform-N.png, and the window's setlist.ico.
set -euo pipefail
cd "$(dirname "$0")"
rsvg-convert -w 720 -h 150 logo.svg -o logo.png
for s in 16 24 32 48 64 128 256; do rsvg-convert -w $s -h $s tallyform.svg -o tallyform-$s.png; done
convert tallyform-16.png tallyform-24.png tallyform-32.png tallyform-48.png tallyform-64.png tallyform-256.png \
  setlist.ico
