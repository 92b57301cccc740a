#!/usr/bin/env bash
# Renders the program's icon into the PNG sizes beside it (needs rsvg-convert from librsvg2-bin).
# Run after changing tickerpost.svg; the PNGs are kept in the repository, so builds need no renderer.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" tickerpost.svg -o "tickerpost-$size.png"
done
