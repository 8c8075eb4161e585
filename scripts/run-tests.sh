#!/usr/bin/env bash
# Sets everything up, builds Velmora with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
build_dir=${VELMORA_BUILD_DIR:-build}
ctest --test-dir "$build_dir" --output-on-failure --parallel 2
