#!/usr/bin/env bash
# Builds Velmora and its Debian package. The .deb lands in build/ (or $VELMORA_BUILD_DIR);
# install it with: sudo apt install ./build/velmora_*.deb
# Extra arguments go to the configure step of scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh "$@"
build_dir=${VELMORA_BUILD_DIR:-build}
cpack --config "$build_dir/CPackConfig.cmake" -B "$build_dir/package" >"$build_dir/package.log" 2>&1 \
  || { cat "$build_dir/package.log" >&2; exit 1; }
for deb in "$build_dir"/package/velmora_*.deb; do
  mv -f "$deb" "$build_dir/"
  echo "Package: $build_dir/${deb##*/}"
done
