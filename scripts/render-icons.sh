#!/usr/bin/env bash
# Renders packaging/calculator.svg into the PNG icon sizes that the install puts into the
# hicolor theme (packaging/icons/SIZE.png). Run it after changing the SVG and commit the PNGs,
# so that building the program needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh librsvg2-bin
mkdir -p packaging/icons
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" packaging/calculator.svg -o "packaging/icons/$size.png"
done
