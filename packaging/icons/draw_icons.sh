#!/usr/bin/env bash
# Renders the PNG sizes of the editor's icon from qinghe-lrc-editor.svg (needs rsvg-convert,
# Debian package librsvg2-bin). The PNGs are kept in the repository; run this after editing
# the SVG.
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 128 256; do
  rsvg-convert -w "$size" -h "$size" qinghe-lrc-editor.svg -o "qinghe-lrc-editor-$size.png"
done
