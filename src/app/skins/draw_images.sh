#!/usr/bin/env bash
# Draws the small images of the skins (ImageMagick), at four times their size and scaled down
# for smooth edges.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 40x24 xc:none -fill '#2f7d64' -draw 'polygon 4,4 36,4 20,20' -resize 10x6 \
  -strip PNG32:arrow_down.png
convert arrow_down.png -flip -strip PNG32:arrow_up.png
convert -size 40x40 xc:none -stroke white -strokewidth 6 -fill none \
  -draw 'polyline 7,21 16,30 33,10' -resize 10x10 -strip PNG32:check.png
convert -size 24x40 xc:none -fill '#2f7d64' -draw 'polygon 4,4 20,20 4,36' -resize 6x10 \
  -strip PNG32:arrow_right.png
