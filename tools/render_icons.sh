#!/usr/bin/env bash
# Renders the application icon's PNG sizes from app/icons/velmira.svg.
# The PNGs are committed, so building needs no SVG renderer; run this after
# changing the SVG (needs rsvg-convert, Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../app/icons"
for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" velmira.svg -o "velmira-$size.png"
done
