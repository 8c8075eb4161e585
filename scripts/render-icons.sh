#!/usr/bin/env bash
# Renders the application icon's PNG sizes from src/res/icons/velmora.svg. The PNGs are
# checked in, so a build never needs the renderer; run this after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --icons
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" --output "src/res/icons/velmora-$size.png" \
    src/res/icons/velmora.svg
done
