#!/usr/bin/env bash
# The layering check passes on the source tree and names each planted upward include.
set -euo pipefail
source_root=$1
check=$source_root/scripts/check-layering.py
python3 "$check" "$source_root/src"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -r "$source_root/src" "$scratch/src"
echo '#include "app/MoveCheckedSongs.h"' >>"$scratch/src/base/Format.h"
echo '#include "check/SongCheck.h"' >>"$scratch/src/inspect/FileList.cpp"
echo '#include <QWidget>' >>"$scratch/src/check/SongCheck.cpp"
echo '#include "base/RunLogs.h"' >>"$scratch/src/platform/FileStatus.cpp"
echo '#include "verify/VerifyRun.h"' >>"$scratch/src/update/ZipArchive.cpp"
if python3 "$check" "$scratch/src" >"$scratch/report" 2>&1; then
  echo "layering check passed a tree with upward includes" >&2
  exit 1
fi
for expected in 'base/Format.h:.*"app/MoveCheckedSongs.h"' 'inspect/FileList.cpp:.*"check/SongCheck.h"' \
                'check/SongCheck.cpp:.*<QWidget>' 'platform/FileStatus.cpp:.*"base/RunLogs.h"' \
                'update/ZipArchive.cpp:.*"verify/VerifyRun.h"'; do
  if ! grep -q "$expected" "$scratch/report"; then
    echo "layering check did not name $expected; it said:" >&2
    cat "$scratch/report" >&2
    exit 1
  fi
done
