#!/usr/bin/env bash
# Starts the window under a virtual X server on the sample library, waits for the check to
# finish and writes a screenshot: ./scripts/screenshot-window.sh [OUT.png] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/window.png}
wait_seconds=${2:-12}
./scripts/install-deps.sh
./scripts/build.sh
build_dir=${VELMORA_BUILD_DIR:-build}
library="$build_dir/sample-library"
"$build_dir/tools/samplegen/velmora-samplegen" "$library" >/dev/null

# A home of its own, so that neither settings nor run logs of the user are touched.
home=$(mktemp -d)
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1100x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "${app:-}" "$xvfb" 2>/dev/null || true; rm -rf "$home"; }
trap cleanup EXIT
sleep 1
DISPLAY=$display HOME=$home QT_QPA_PLATFORM=xcb "$build_dir/src/velmora" -iDodOdevOdiviz "$library" &
app=$!
sleep "$wait_seconds"
DISPLAY=$display import -window root "$out"
echo "Screenshot: $out"
