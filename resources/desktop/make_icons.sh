#!/usr/bin/env bash
# Renders the program icon's PNG sizes for the hicolor theme from the SVG.
# Usage: make_icons.sh OUTPUT_FOLDER (the build runs it; nothing is committed).
set -euo pipefail
svg="$(dirname "$0")/korvelan.svg"
out=$1
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$out/${size}x${size}/apps"
  rsvg-convert --width "$size" --height "$size" --format png \
    --output "$out/${size}x${size}/apps/korvelan.png" "$svg"
done
