#!/usr/bin/env bash
# Builds the Debian package from an already built tree (or takes $VELMORA_DEB), unpacks it
# into a scratch root and runs the program from there. Exit 77 (skipped) without dpkg-deb.
# Usage: deb-package-test.sh BUILD_DIR
set -euo pipefail
build_dir=$1
if ! command -v dpkg-deb >/dev/null; then
  echo "skipped: dpkg-deb is not installed"
  exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=${VELMORA_DEB:-}
if [ -z "$deb" ]; then
  cpack --config "$build_dir/CPackConfig.cmake" -B "$scratch/cpack" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log"; fail "cpack could not build the package"; }
  deb=$(ls "$scratch"/cpack/velmora_*.deb)
fi

# Depends: the outside tools, the media library, the Qt libraries (with the SQLite driver of
# the results cache), zlib and minizip.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in mediainfo unzip libmediainfo0v5 libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6-sqlite zlib1g libminizip1 libc6; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package"
done
[ "$(dpkg-deb -f "$deb" Package)" = velmora ] || fail "package name"

root=$scratch/root
dpkg -x "$deb" "$root"
outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./usr/' | grep -vx '\./' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
for file in usr/bin/velmora usr/share/applications/velmora.desktop usr/share/mime/packages/velmora.xml \
            usr/share/man/man1/velmora.1.gz usr/share/bash-completion/completions/velmora \
            usr/share/icons/hicolor/scalable/apps/velmora.svg; do
  [ -s "$root/$file" ] || fail "$file is missing"
done
# The user manual, where Help > User Manual looks for it, when the build made it.
for form in html pdf; do
  if [ -f "$build_dir/src/userManual.$form" ]; then
    [ -s "$root/usr/share/doc/velmora/userManual.$form" ] || fail "userManual.$form is missing"
  fi
done
for size in 16 32 48 64 128 256; do
  info=$(file -b "$root/usr/share/icons/hicolor/${size}x$size/apps/velmora.png")
  grep -q "PNG image data, $size x $size," <<<"$info" || fail "icon ${size}x$size: $info"
done
for helper in velmora-ping velmora-updater; do
  if [ -n "$(find "$build_dir" -path "$build_dir/package" -prune -o -name "$helper" -type f -perm -u+x -print -quit)" ]; then
    [ -x "$root/usr/bin/$helper" ] || fail "$helper was built but is not in the package"
  fi
done

# The program runs from the scratch root against the system's libraries.
version=$("$root/usr/bin/velmora" --version)
[ "$version" = "Velmora 1.0.0.15" ] || fail "velmora --version printed '$version'"

# The desktop file names the installed program, icon and the playlist type defined beside it.
desktop=$root/usr/share/applications/velmora.desktop
grep -qx 'Exec=velmora %f' "$desktop" || fail "Exec line"
grep -qx 'Icon=velmora' "$desktop" || fail "Icon line"
grep -q '^MimeType=.*application/x-velmora-mpl;' "$desktop" || fail "MimeType line"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
if command -v update-mime-database >/dev/null; then
  update-mime-database "$root/usr/share/mime" 2>/dev/null
  grep -qx '40:application/x-velmora-mpl:\*.mpl' "$root/usr/share/mime/globs2" || fail "mime glob"
  grep -q 'klovmplrev2' "$root/usr/share/mime/magic" || fail "mime magic"
fi

# The manual page formats without warnings and shows every command form.
if command -v groff >/dev/null; then
  warnings=$(zcat "$root/usr/share/man/man1/velmora.1.gz" | groff -man -ww -z -Tutf8 2>&1 || true)
  [ -z "$warnings" ] || fail "manual page: $warnings"
  page=$(zcat "$root/usr/share/man/man1/velmora.1.gz" | groff -man -Tascii -P-cbou 2>/dev/null)
  for form in 'velmora [-iDodOdevOdiviz] [FOLDER]' 'velmora check' 'velmora playlist' 'velmora update --check'; do
    grep -qF -- "$form" <<<"$page" || fail "manual page lacks '$form'"
  done
fi

# The completion offers the commands and the check options.
completions=$(cd "$scratch" && bash -c '
  source "$1"
  complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=(); _velmora; echo "${COMPREPLY[*]}"; }
  complete_words velmora ""; complete_words velmora check --s; complete_words velmora check --format ""' \
  _ "$root/usr/share/bash-completion/completions/velmora" 2>/dev/null)
grep -q 'check playlist update' <<<"$completions" || fail "completion of commands: $completions"
grep -q -- '--songs --subfolders' <<<"$completions" || fail "completion of options: $completions"
grep -q 'text json csv' <<<"$completions" || fail "completion of formats: $completions"
echo "OK: $deb"
