#!/usr/bin/env bash
# Starts the main window under a virtual X server on the sample library and writes PNG
# screenshots of what a user sees into docs/screenshots/ (or OUT_DIR): the empty window, a
# media-details check, a song check, a verified song check, the playlist grid, the About box,
# a Move in progress and the sample library in every look, each at 1000 x 700 and at the
# window's minimum size.
# Usage: ./scripts/screenshot-window.sh [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots}
./scripts/install-deps.sh
./scripts/build.sh
build_dir=${VELMORA_BUILD_DIR:-build}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# A home and a library of its own, so that neither settings nor run logs of the user are
# touched and the pictures do not depend on where the tree lies.
scratch=$(mktemp -d)
display=:$(( 90 + RANDOM % 100 ))
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
library="$scratch/Sample Library"
"$build_dir/tools/samplegen/velmora-samplegen" "$library" >/dev/null
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1

rm -f "$out"/*.png
DISPLAY=$display HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch QT_QPA_PLATFORM=xcb \
  "$build_dir/tools/screenshots/velmora-screenshots" "$library" "$library/Playlists/Revision 2.mpl" "$out" >/dev/null
# Interface pictures need few colours; 64 keep the text's edges and make the files small.
for png in "$out"/*.png; do
  convert "$png" +dither -colors 64 -strip "PNG8:$png"
done
echo "Screenshots: $(ls "$out"/*.png | wc -l) in $out"
