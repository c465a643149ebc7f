#!/usr/bin/env bash
# Renders the PNG sizes of Ostrel's icon from its SVG (needs rsvg-convert,
# Debian package librsvg2-bin). The PNGs are kept in the tree, so building
# does not need this; run it after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 32 64 128 256; do
  rsvg-convert -w "$size" -h "$size" ostrel.svg -o "ostrel-$size.png"
done
