#!/usr/bin/env bash
# Installs the Debian 12 packages Velmora builds, tests and packages with. Every package the
# project needs is listed here and nowhere else.
# Usage: scripts/install-deps.sh [--icons]   (--icons: also the renderer of the icon PNGs)
# apt's own output goes to build/apt.log (or $VELMORA_BUILD_DIR/apt.log) and is shown only
# when apt fails.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev
  libqt6sql6-sqlite    # the SQLite driver of Qt SQL: the results cache
  libgtest-dev libgmock-dev
  shared-mime-info
  zlib1g-dev libminizip-dev unzip
  libxxhash-dev        # content digests of the song verification
  libzstd-dev          # whole checks kept in the results cache, packed
  libcurl4-openssl-dev
  python3
  mediainfo libmediainfo0v5
  clang libclang-rt-14-dev
  dpkg-dev file   # dpkg-shlibdeps and file, which CPack uses to find the package's Depends
  desktop-file-utils   # the package test validates the desktop file
  adwaita-icon-theme   # file and folder icons of the window
  xvfb imagemagick     # scripts/screenshot-window.sh
  pandoc weasyprint    # the user manual (HTML and PDF)
)
if [ "${1:-}" = "--icons" ]; then
  packages+=(librsvg2-bin)  # rsvg-convert, only for scripts/render-icons.sh
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
log_dir=${VELMORA_BUILD_DIR:-build}
mkdir -p "$log_dir"
log=$log_dir/apt.log
echo "Installing missing Debian packages: ${missing[*]} (apt's output: $log)"
: >"$log"
run_apt() {
  if ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive "$@" >>"$log" 2>&1; then
    echo "install-deps: '$*' failed; its output:" >&2
    cat "$log" >&2
    exit 1
  fi
}
run_apt apt-get update
run_apt apt-get install -y --no-install-recommends "${missing[@]}"
echo "Installed the Debian packages."
