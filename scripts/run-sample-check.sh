#!/usr/bin/env bash
# Sets everything up, writes the bundled sample karaoke library and checks it: first the
# media-details check of the whole library, then the song check of its top folder. The
# run logs of the last check land in build/velmora-data.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
build_dir=${VELMORA_BUILD_DIR:-build}
library="$build_dir/sample-library"
data="$build_dir/velmora-data"

"$build_dir/tools/samplegen/velmora-samplegen" "$library"
status=0
echo
echo "== Media-details check of $library =="
"$build_dir/src/velmora" check --subfolders --data-dir "$data" "$library" || status=$?
echo
echo "== Song check of $library =="
"$build_dir/src/velmora" check --songs --data-dir "$data" "$library" || true
echo
echo "== Song check of the numbered jukebox folders, lists without a mark read as Korean =="
"$build_dir/src/velmora" check --songs --ansi-code-page 949 --data-dir "$data" "$library/Jukebox" || true
echo
echo "Run logs: $data/directory.log and $data/error.log"
# Exit status 1 only says that the library holds problem files, as the sample does on purpose.
[ "$status" -le 1 ]
