#!/usr/bin/env bash
# Measures velmora's checks side by side with the tools a user would otherwise run on the
# same files, and writes the figures into docs/PERFORMANCE.md.
#
#   bench/run-bench.sh [--quick] [--goals-only] [--runs N] [--slow-runs N]
#                      [--skip-media-details] [--verify-songs N] [--no-install]
#
# --quick        only the 1,000-song library and fewer runs (a few minutes)
# --goals-only   only what the goals compare: the checks without options against exiftool,
#                the second check of an unchanged 100,000-file library against find, the
#                memory per row, the start-up and the window against the command line
#                (leaves out the engines, mediainfo and the verification)
# --runs N       runs of each quick command (default 5, quick 3)
# --slow-runs N  runs of the commands that start one process per file (default 3 on the
#                1,000-song library and 1 on the 10,000-song one; quick 1)
# --skip-media-details  leave out the media-details checks and mediainfo (most of a run)
# --verify-songs N  full-length songs in the library the song verification is timed on
#                (default 200, about 1 GB; quick 50)
# --no-install   do not install missing Debian packages
#
# The 1,000-song library holds full-length songs (velmora-samplegen --size full, about
# 5.5 MB a song); the 10,000-song library holds the generator's small songs, since 10,000
# full-length ones (about 55 GB) do not fit beside the other developers' work on this disk.
# The rescan library has about 100,000 small files.
#
# Everything it makes lives in build-bench/: the Release build, the generated libraries
# (kept between runs and made again only when the generator changes) and the run logs.
# Each run is timed by this script (wall clock of the whole process, start-up included)
# under GNU time, which also gives the peak resident memory of the run; hyperfine is not
# needed.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
data="$build/bench-data"
report="$root/docs/PERFORMANCE.md"
seed=1
flat_files=100000

quick=0
goals_only=0
install=1
media_details=1
runs=""
slow_runs=""
verify_songs=""

usage() {
  sed -n '5,26p' "$0" | sed 's/^# \{0,1\}//'
}

while [ $# -gt 0 ]; do
  case "$1" in
    --quick) quick=1 ;;
    --goals-only) goals_only=1 ;;
    --no-install) install=0 ;;
    --skip-media-details) media_details=0 ;;
    --runs) runs=${2:?--runs needs a number}; shift ;;
    --slow-runs) slow_runs=${2:?--slow-runs needs a number}; shift ;;
    --verify-songs) verify_songs=${2:?--verify-songs needs a number}; shift ;;
    -h|--help) usage; exit 0 ;;
    *) echo "run-bench.sh: unknown argument $1" >&2; usage >&2; exit 2 ;;
  esac
  shift
done
for value in "$runs" "$slow_runs" "$verify_songs"; do
  if [ -n "$value" ] && ! [[ "$value" =~ ^[1-9][0-9]*$ ]]; then
    echo "run-bench.sh: run counts must be whole numbers from 1" >&2
    exit 2
  fi
done

# Songs of the library whose second check is timed: about 1.85 files a song, so about
# 100,000 files.
rescan_songs=54100
if [ "$quick" = 1 ]; then
  sizes=(1000)
  runs=${runs:-3}
  verify_songs=${verify_songs:-50}
else
  sizes=(1000 10000)
  runs=${runs:-5}
  verify_songs=${verify_songs:-200}
fi

# Runs of the per-file commands for a library of $1 songs.
slow_runs_for() {
  if [ -n "$slow_runs" ]; then echo "$slow_runs"
  elif [ "$quick" = 1 ] || [ "$1" -gt 1000 ]; then echo 1
  else echo 3
  fi
}

say() { echo "== $*" >&2; }
# 10000 -> 10,000
grouped() { sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' <<<"$1"; }

# ---------------------------------------------------------------- tools and build

install_packages() {
  "$root/scripts/install-deps.sh"
  # exiftool, mp3val and GNU time (for the peak memory of each run) are only needed here.
  local packages=(libimage-exiftool-perl time mediainfo mp3val) missing=() package sudo=""
  for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build_release() {
  say "Release build in $build"
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF \
    -DVELMORA_BENCH=ON "${launcher[@]}" >/dev/null
  ninja -C "$build" velmora velmora-samplegen velmora-walk-bench velmora-window-bench >/dev/null
}

[ "$install" = 1 ] && install_packages
for tool in exiftool mediainfo mp3val /usr/bin/time cmake ninja; do
  command -v "$tool" >/dev/null || { echo "run-bench.sh: $tool is missing" >&2; exit 1; }
done
build_release
velmora="$build/src/velmora"
samplegen="$build/tools/samplegen/velmora-samplegen"
walk_bench="$build/bench/velmora-walk-bench"

# ---------------------------------------------------------------- libraries

generator_stamp() {
  cat "$root"/tools/samplegen/*.cpp "$root"/tools/samplegen/*.h | sha1sum | cut -c1-12
}

# make_library SONGS [SIZE]: the library folder of small (default) or full-length songs, made
# again only when missing or outdated.
make_library() {
  local songs=$1 size=${2:-small} folder stamp
  folder="$data/library-$1$([ "$size" = full ] && echo -full)"
  stamp="songs=$songs seed=$seed size=$size generator=$(generator_stamp)"
  if [ -d "$folder" ] && [ "$(cat "$folder.stamp" 2>/dev/null)" = "$stamp" ]; then
    say "Library of $songs $size songs kept from an earlier run"
  else
    say "Writing a library of $songs $size songs"
    rm -rf "$folder" "$folder.stamp"
    "$samplegen" --songs "$songs" --seed "$seed" --size "$size" "$folder" >&2
    echo "$stamp" >"$folder.stamp"
  fi
  echo "$folder"
}

# A flat folder of empty song files, half of them graphics and half audio.
make_flat_folder() {
  local folder="$data/flat-$flat_files" stamp="files=$flat_files names=1"
  if [ -d "$folder" ] && [ "$(cat "$folder.stamp" 2>/dev/null)" = "$stamp" ]; then
    say "Flat folder of $flat_files files kept from an earlier run"
  else
    say "Writing a flat folder of $flat_files empty files"
    rm -rf "$folder" "$folder.stamp"
    mkdir -p "$folder"
    awk -v n="$flat_files" 'BEGIN { for (i = 0; i < n; i++)
        printf "KV%06d - Walk Song.%s\n", int(i / 2) + 1, (i % 2 ? "mp3" : "cdg") }' |
      (cd "$folder" && xargs -d '\n' touch)
    echo "$stamp" >"$folder.stamp"
  fi
  echo "$folder"
}

warm_cache() {
  find "$1" -type f -print0 | xargs -0 cat >/dev/null
}

# ---------------------------------------------------------------- measuring

declare -A res_min res_med res_rss res_runs res_fail
time_file=$(mktemp)
err_file=$(mktemp)
trap 'rm -f "$time_file" "$err_file"' EXIT

# measure KEY RUNS WARMUP COMMAND...: times RUNS runs (after one untimed run when WARMUP
# is 1) and keeps the minimum, the median and the largest peak RSS. Exit status 1 is a
# result (velmora: some row needs attention; exiftool: some file unreadable), 2 and
# above a failure.
measure() {
  local key=$1 count=$2 warmup=$3
  shift 3
  local times=() peak=0 i start end status rss
  if [ "$warmup" = 1 ]; then "$@" >/dev/null 2>&1 || true; fi
  for ((i = 1; i <= count; i++)); do
    start=$(date +%s%N)
    status=0
    /usr/bin/time -f '%M' -o "$time_file" "$@" >/dev/null 2>"$err_file" || status=$?
    end=$(date +%s%N)
    if [ "$status" -ge 2 ]; then
      res_fail[$key]="exit status $status: $(head -c 200 "$err_file" | tr '\n' ' ')"
      say "$key failed (${res_fail[$key]})"
      return 0
    fi
    times+=("$(( (end - start) / 1000000 ))")
    rss=$(tail -n 1 "$time_file")
    [[ "$rss" =~ ^[0-9]+$ ]] && [ "$rss" -gt "$peak" ] && peak=$rss
    say "$key run $i/$count: $(awk -v ms="${times[-1]}" 'BEGIN { printf "%.3f s", ms / 1000 }')"
  done
  res_runs[$key]=$count
  res_rss[$key]=$peak
  res_min[$key]=$(printf '%s\n' "${times[@]}" | sort -n | head -n 1)
  res_med[$key]=$(printf '%s\n' "${times[@]}" | sort -n |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
}

# supports OPTION...: whether velmora check takes these options (a usage error is 2).
supports() {
  local probe status=0
  probe=$(mktemp -d)
  mkdir "$probe/empty"
  "$velmora" check "$@" --data-dir "$probe/logs" "$probe/empty" >/dev/null 2>&1 || status=$?
  rm -rf "$probe"
  [ "$status" -ne 2 ]
}

have_jobs=0; have_engine=0
supports --jobs 1 && have_jobs=1
supports --engine tool && supports --engine library && have_engine=1
# The tool engine with one job is the plain check; the options are named when known.
tool_options=()
[ "$have_engine" = 1 ] && tool_options+=(--engine tool)
[ "$have_jobs" = 1 ] && tool_options+=(--jobs 1)
song_options=()
[ "$have_jobs" = 1 ] && song_options+=(--jobs 1)

logs="$data/run-logs"
mediainfo_loop='find "$1" -type f -print0 | while IFS= read -r -d "" f; do mediainfo "$f"; done'

declare -A lib_files lib_folders lib_bytes
load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)

# How many cores this run really gets: the time of one busy process against two at once.
# On a shared machine the second core may be taken, and then no --jobs 2 can gain.
busy_ms() {
  local start end
  start=$(date +%s%N)
  for ((k = 0; k < $1; k++)); do awk 'BEGIN { for (i = 0; i < 4000000; i++) s += i }' & done
  wait
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}
cores_available=$(awk -v one="$(busy_ms 1)" -v two="$(busy_ms 2)" 'BEGIN { printf "%.1f", 2 * one / two }')
say "Cores available to this run: $cores_available of $(nproc)"

# Full-length songs where they fit (see the head of this script).
size_for() { [ "$1" -le 1000 ] && echo full || echo small; }
# The checks' results cache starts empty; the warm-up run before the timed runs of a check
# without options fills it, as a user's first check would.
rm -f "$logs"/results-cache.sqlite*
have_cache=0
supports --no-cache && have_cache=1
have_full=0
supports --full-check && have_full=1
no_cache=()
[ "$have_cache" = 1 ] && no_cache=(--no-cache)

for songs in "${sizes[@]}"; do
  library=$(make_library "$songs" "$(size_for "$songs")")
  lib_files[$songs]=$(find "$library" -type f | wc -l)
  lib_folders[$songs]=$(find "$library" -mindepth 1 -type d | wc -l)
  lib_bytes[$songs]=$(du -sb "$library" | cut -f1)
  slow=$(slow_runs_for "$songs")
  say "Library of $songs songs: ${lib_files[$songs]} files; reading it once into the file cache"
  warm_cache "$library"

  # Files just written may not be kept yet (the cache waits until they settle).
  sleep 3
  if [ "$goals_only" = 0 ]; then
    measure "$songs.song" "$runs" 1 "$velmora" check --songs --subfolders "${song_options[@]}" "${no_cache[@]}" --data-dir "$logs" "$library"
    if [ "$have_jobs" = 1 ]; then
      measure "$songs.song2" "$runs" 1 "$velmora" check --songs --subfolders --jobs 2 "${no_cache[@]}" --data-dir "$logs" "$library"
    fi
  fi
  if [ "$have_cache" = 1 ]; then
    measure "$songs.songfirst" "$runs" 1 "$velmora" check --songs --subfolders --no-cache --data-dir "$logs" "$library"
  fi
  measure "$songs.songdefault" "$runs" 1 "$velmora" check --songs --subfolders --data-dir "$logs" "$library"
  if [ "$have_full" = 1 ]; then
    measure "$songs.songfull" "$runs" 1 "$velmora" check --songs --subfolders --full-check --data-dir "$logs" "$library"
  fi
  measure "$songs.exiftool" "$runs" 1 exiftool -r -fast "$library"
  [ "$media_details" = 1 ] || continue
  if [ "$have_cache" = 1 ]; then
    measure "$songs.detailsfirst" "$runs" 1 "$velmora" check --subfolders --no-cache --data-dir "$logs" "$library"
  fi
  measure "$songs.details" "$runs" 1 "$velmora" check --subfolders --data-dir "$logs" "$library"
  if [ "$have_full" = 1 ]; then
    measure "$songs.detailsfull" "$runs" 1 "$velmora" check --subfolders --full-check --data-dir "$logs" "$library"
  fi
  [ "$goals_only" = 0 ] || continue
  measure "$songs.tool1" "$slow" 0 "$velmora" check --subfolders "${tool_options[@]}" "${no_cache[@]}" --data-dir "$logs" "$library"
  if [ "$have_engine" = 1 ] && [ "$have_jobs" = 1 ]; then
    measure "$songs.lib1" "$runs" 1 "$velmora" check --subfolders --engine library --jobs 1 "${no_cache[@]}" --data-dir "$logs" "$library"
    measure "$songs.lib2" "$runs" 1 "$velmora" check --subfolders --engine library --jobs 2 "${no_cache[@]}" --data-dir "$logs" "$library"
  fi
  measure "$songs.miloop" "$slow" 0 bash -c "$mediainfo_loop" _ "$library"
  measure "$songs.mifolder" "$runs" 1 mediainfo "$library"
done

have_verify=0
verify_files=0; verify_mp3s=0; verify_bytes=0; verify_mp3_bytes=0
if [ "$goals_only" = 0 ]; then
  # The song verification reads every byte of every song: timed on full-length songs against
  # reading the same files with cat, and against mp3val over the same MP3s.
  supports --songs --verify && have_verify=1
  verify_library=$(make_library "$verify_songs" full)
  verify_files=$(find "$verify_library" -type f | wc -l)
  verify_mp3s=$(find "$verify_library" -type f -name '*.mp3' | wc -l)
  verify_bytes=$(du -sb "$verify_library" | cut -f1)
  verify_mp3_bytes=$(find "$verify_library" -type f -name '*.mp3' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  say "Library of $verify_songs full-length songs: $verify_files files; reading it once into the file cache"
  warm_cache "$verify_library"
  if [ "$have_verify" = 1 ]; then
    measure verify1 "$runs" 1 "$velmora" check --songs --subfolders --verify --jobs 1 "${no_cache[@]}" --data-dir "$logs" "$verify_library"
    measure verify2 "$runs" 1 "$velmora" check --songs --subfolders --verify --jobs 2 "${no_cache[@]}" --data-dir "$logs" "$verify_library"
    measure fullsong "$runs" 1 "$velmora" check --songs --subfolders --jobs 2 "${no_cache[@]}" --data-dir "$logs" "$verify_library"
  fi
  measure cat "$runs" 1 bash -c 'find "$1" -type f -print0 | xargs -0 cat >/dev/null' _ "$verify_library"
  measure mp3val "$runs" 1 bash -c 'find "$1" -type f -name "*.mp3" -print0 | xargs -0 mp3val >/dev/null' _ "$verify_library"
fi

flat=$(make_flat_folder)
warm_cache "$flat"
measure walk "$runs" 1 "$walk_bench" "$flat"
measure find "$runs" 1 bash -c 'find "$1" -maxdepth 1 | wc -l' _ "$flat"
walk_line=$("$walk_bench" "$flat" || true)

# A second check of an unchanged library of about 100,000 files: both kinds, each after one
# untimed check that fills the results cache, against a stat walk of the same tree.
rescan_library=$(make_library "$rescan_songs")
rescan_files=$(find "$rescan_library" -type f | wc -l)
rescan_data="$data/rescan-data"
rm -rf "$rescan_data"
say "Rescan library: $rescan_files files; reading it once into the file cache"
warm_cache "$rescan_library"
sleep 3
rescan_rows_song=0; rescan_rows_details=0
if [ "$have_cache" = 1 ]; then
  # Exit status 1 (some row needs attention) is a result here too.
  rescan_rows_song=$(( $( ("$velmora" check --songs --subfolders --data-dir "$rescan_data" "$rescan_library" || true) | wc -l) - 1 ))
  measure rescan.song "$runs" 0 "$velmora" check --songs --subfolders --data-dir "$rescan_data" "$rescan_library"
  if [ "$media_details" = 1 ]; then
    rescan_rows_details=$(( $( ("$velmora" check --subfolders --data-dir "$rescan_data" "$rescan_library" || true) | wc -l) - 1 ))
    measure rescan.details "$runs" 0 "$velmora" check --subfolders --data-dir "$rescan_data" "$rescan_library"
  fi
fi
measure rescan.find "$runs" 1 bash -c 'find "$1" -printf "%s %T@\n" >/dev/null' _ "$rescan_library"
rescan_cache_bytes=$(stat -c %s "$rescan_data/results-cache.sqlite" 2>/dev/null || echo 0)

# The window against the command line on the 1,000-song library (bench/window-bench.sh).
# It is one of the goals, so --goals-only measures it too.
window_report="not measured: Xvfb is not installed"
if command -v Xvfb >/dev/null; then
  say "Window against command line"
  window_report=$("$root/bench/window-bench.sh" --no-build --runs "$runs" --library "$(make_library 1000 "$(size_for 1000)")") ||
    window_report="not measured: bench/window-bench.sh failed"
fi
walk_field() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$walk_line"; }

# Start-up: the whole process of the two smallest things the command line does, at least
# ten runs each.
startup_runs=$(( runs > 10 ? runs : 10 ))
empty_folder="$data/empty-folder"
mkdir -p "$empty_folder"
measure version "$startup_runs" 1 "$velmora" --version
measure empty "$startup_runs" 1 "$velmora" check --data-dir "$logs" "$empty_folder"
# The command-line form must make no GUI object: a GUI application would load a display
# platform plugin, and with a platform that does not exist it could not start at all.
platform_plugins=$(LD_DEBUG=files "$velmora" --version 2>&1 >/dev/null | grep -c 'file=.*/platforms/' || true)
headless=no
if QT_QPA_PLATFORM=no-such-platform DISPLAY= WAYLAND_DISPLAY= "$velmora" --version >/dev/null 2>&1 &&
  QT_QPA_PLATFORM=no-such-platform DISPLAY= WAYLAND_DISPLAY= \
    "$velmora" check --data-dir "$logs" "$empty_folder" >/dev/null 2>&1; then
  headless=yes
fi
load_at_end=$(cut -d' ' -f1-3 /proc/loadavg)

# ---------------------------------------------------------------- report

seconds() { awk -v ms="$1" 'BEGIN { printf "%.3f", ms / 1000 }'; }
megabytes() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }

# result_row KEY LABEL COMMAND: one table row, or the reason there is no figure.
result_row() {
  local key=$1 label=$2 command=$3
  if [ -n "${res_fail[$key]:-}" ]; then
    echo "| $label | \`$command\` | – | failed: ${res_fail[$key]} | | |"
  elif [ -z "${res_med[$key]:-}" ] && [ "$media_details" = 0 ] && [[ "$key" =~ \.(details|tool1|lib1|lib2|miloop|mifolder)$ ]]; then
    echo "| $label | \`$command\` | – | not measured in this run (--skip-media-details) | | |"
  elif [ -z "${res_med[$key]:-}" ] && [ "$goals_only" = 1 ]; then
    echo "| $label | \`$command\` | – | not measured in this run (--goals-only) | | |"
  elif [ -z "${res_med[$key]:-}" ]; then
    echo "| $label | \`$command\` | – | not measured: this velmora has no such option | | |"
  else
    echo "| $label | \`$command\` | ${res_runs[$key]} | $(seconds "${res_min[$key]}") |" \
      "$(seconds "${res_med[$key]}") | $(megabytes "${res_rss[$key]}") |"
  fi
}

# target_row LABEL NUMERATOR DENOMINATOR GOAL-TEXT COMPARISON LIMIT: the ratio of two
# medians against its goal (COMPARISON ge: ratio >= LIMIT, le: ratio <= LIMIT).
target_row() {
  local label=$1 top=$2 bottom=$3 goal=$4 comparison=$5 limit=$6
  if [ -z "${res_med[$top]:-}" ] || [ -z "${res_med[$bottom]:-}" ]; then
    echo "| $label | – | $goal | not measured |"
    return
  fi
  awk -v a="${res_med[$top]}" -v b="${res_med[$bottom]}" -v label="$label" -v goal="$goal" \
    -v cmp="$comparison" -v limit="$limit" 'BEGIN {
      if (b <= 0) b = 1
      r = a / b
      ok = (cmp == "ge") ? (r >= limit) : (r <= limit)
      printf "| %s | %.2f | %s | %s |\n", label, r, goal, ok ? "met" : "**missed**"
    }'
}

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
mediainfo_version=$(mediainfo --version | sed -n 's/.*\(v[0-9][0-9.]*\).*/\1/p' | head -n 1)
mode=$([ "$quick" = 1 ] && echo "quick (\`--quick\`)" || echo "full")
[ "$goals_only" = 1 ] && mode="$mode, goals only (\`--goals-only\`)"

{
  echo "# Performance"
  echo
  echo "<!-- Generated by bench/run-bench.sh; edits are lost on the next run. -->"
  echo
  echo "Made by \`bench/run-bench.sh\` ($mode) on $(date -u '+%Y-%m-%d %H:%M UTC'): a Release build,"
  echo "generated libraries (\`velmora-samplegen --songs N --seed $seed\`), every file read once"
  echo "into the file cache before measuring, and one untimed warm-up run before each command"
  echo "that does not start a process per file. Times are the wall clock of the whole process,"
  echo "start-up included; peak RSS is GNU time's maximum resident set size (for a shell loop, of"
  echo "its largest process). Absolute times vary from machine to machine and with the load of"
  echo "other users: **the ratios are what count**. Ratios are taken between medians."
  echo
  echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, Linux $(uname -r); load average at the"
  echo "start $load_at_start, at the end $load_at_end; cores really available at the start: $cores_available (two busy processes"
  echo "at once against one alone; with fewer than 2, a second job cannot gain). Tools: mediainfo"
  echo "${mediainfo_version:-?}, exiftool $(exiftool -ver)."
  echo "velmora options: --engine $([ "$have_engine" = 1 ] && echo available || echo "not available"),"
  echo "--jobs $([ "$have_jobs" = 1 ] && echo available || echo "not available")."
  echo
  echo "How the comparisons are made:"
  echo
  echo "- Song check: \`velmora check --songs --subfolders LIBRARY\`. With subfolders the song"
  echo "  check walks the whole tree (the files of a folder, then each subfolder), merges the files"
  echo "  of each song and reads every song's tags and playing time, so it reads the same files"
  echo "  as \`exiftool -r -fast LIBRARY\`."
  echo "- Media-details check: \`velmora check --subfolders LIBRARY\`, every file of the tree, against"
  echo "  \`mediainfo\` started once per file by a shell loop (\`find | while read\`) and \`mediainfo"
  echo "  LIBRARY\`, which reads the whole tree in one process."
  echo "- Flat walk: velmora has no listing-only check (both checks read every file), so the walk"
  echo "  is timed through \`bench/walk_bench.cpp\`: the same \`DirectoryItemInfo\` both checks start"
  echo "  with, on a folder of $flat_files empty files, against \`find FOLDER -maxdepth 1 | wc -l\`."
  echo "- Results cache: a check without options of a library unchanged since its untimed warm-up"
  echo "  run prints the rows and writes the logs that run kept, after one stat of every entry;"
  echo "  \`--full-check\` checks in full, taking the results of unchanged files from the cache;"
  echo "  \`--no-cache\` reads every file, as a first check does. All three are timed, and so is a second"
  echo "  check of an unchanged library of about 100,000 files against \`find TREE -printf '%s %T@\\n'\`,"
  echo "  which stats every file as a check must to know it unchanged."
  for songs in "${sizes[@]}"; do
    echo
    echo "## Library of $(grouped "$songs") songs"
    echo
    echo "$(grouped "${lib_files[$songs]}") files in ${lib_folders[$songs]} folders, $(megabytes $(( lib_bytes[$songs] / 1024 ))) MB:"
    echo "MP3 + CD+G pairs, zip packages, MIDI files, MP3s without frame sync and files of unknown type;"
    if [ "$(size_for "$songs")" = full ]; then
      echo "full-length songs (\`--size full\`: 3 to 5 MB MP3s with real frame headers, about 1.4 MB of CD+G)."
    else
      echo "the generator's small songs (3-second MP3s): 10,000 full-length songs, about 55 GB, do not fit on"
      echo "this shared disk (60 GB free, other developers' builds beside it)."
    fi
    echo
    echo "| Measurement | Command | Runs | Min (s) | Median (s) | Peak RSS (MB) |"
    echo "|---|---|---:|---:|---:|---:|"
    result_row "$songs.song" "song check" "velmora check --songs --subfolders ${song_options[*]}"
    result_row "$songs.song2" "song check, 2 jobs" "velmora check --songs --subfolders --jobs 2"
    result_row "$songs.songfirst" "song check, every file read" "velmora check --songs --subfolders --no-cache"
    result_row "$songs.songdefault" "song check, no options (the kept check replayed)" "velmora check --songs --subfolders"
    result_row "$songs.songfull" "song check in full (results cache)" "velmora check --songs --subfolders --full-check"
    result_row "$songs.exiftool" "exiftool" "exiftool -r -fast"
    result_row "$songs.detailsfirst" "media-details check, every file read" "velmora check --subfolders --no-cache"
    result_row "$songs.details" "media-details check, no options (the kept check replayed)" "velmora check --subfolders"
    result_row "$songs.detailsfull" "media-details check in full (results cache)" "velmora check --subfolders --full-check"
    result_row "$songs.tool1" "media-details check, tool engine, 1 job" "velmora check --subfolders ${tool_options[*]}"
    result_row "$songs.lib1" "media-details check, library engine, 1 job" \
      "velmora check --subfolders --engine library --jobs 1"
    result_row "$songs.lib2" "media-details check, library engine, 2 jobs" \
      "velmora check --subfolders --engine library --jobs 2"
    result_row "$songs.miloop" "mediainfo once per file" "find \\| while read f; do mediainfo \"\$f\"; done"
    result_row "$songs.mifolder" "mediainfo over the folder" "mediainfo LIBRARY"
  done
  echo
  if [ "$goals_only" = 0 ]; then
  echo "## Song verification of $(grouped "$verify_songs") full-length songs"
  echo
  echo "\`velmora-samplegen --songs $verify_songs --seed $seed --size full\`: $(grouped "$verify_files") files,"
  echo "$(megabytes $(( verify_bytes / 1024 ))) MB, of them $verify_mp3s MP3s of $(megabytes $(( verify_mp3_bytes / 1024 ))) MB (3 to 5 MB each, real frame"
  echo "headers) and CD+G of about 1.4 MB a song. The verification reads every byte of every"
  echo "song (a frame walk of each MP3, every CD+G packet, every zip member unpacked) after the"
  echo "song check; \`cat\` reads every file of the tree once, \`mp3val\` checks the MP3s only."
  echo
  echo "| Measurement | Command | Runs | Min (s) | Median (s) | Peak RSS (MB) |"
  echo "|---|---|---:|---:|---:|---:|"
  result_row verify1 "song check and verification, 1 job" "velmora check --songs --subfolders --verify --jobs 1"
  result_row verify2 "song check and verification, 2 jobs" "velmora check --songs --subfolders --verify --jobs 2"
  result_row fullsong "song check alone, 2 jobs" "velmora check --songs --subfolders --jobs 2"
  result_row cat "cat of every file" "find -type f \| xargs cat"
  result_row mp3val "mp3val over the MP3s" "find -name '*.mp3' \| xargs mp3val"

  echo
  fi
  echo "## Second check of an unchanged library of $(grouped "$rescan_files") files"
  echo
  echo "\`velmora-samplegen --songs $rescan_songs --seed $seed\` (small songs); each check kind ran once"
  echo "untimed to fill the results cache (in its own data folder), then the timed runs. Rows:"
  echo "$(grouped "$rescan_rows_song") (song check, the files of each song merged), $(grouped "$rescan_rows_details")"
  echo "(media-details check). The cache file holds $(megabytes $(( rescan_cache_bytes / 1024 ))) MB for both kinds."
  echo
  echo "| Measurement | Command | Runs | Min (s) | Median (s) | Peak RSS (MB) |"
  echo "|---|---|---:|---:|---:|---:|"
  result_row rescan.song "song check, second time" "velmora check --songs --subfolders"
  result_row rescan.details "media-details check, second time" "velmora check --subfolders"
  result_row rescan.find "stat walk" "find TREE -printf '%s %T@\\n'"
  echo
  echo "## Flat walk of $(grouped "$flat_files") files"
  echo
  echo "| Measurement | Command | Runs | Min (s) | Median (s) | Peak RSS (MB) |"
  echo "|---|---|---:|---:|---:|---:|"
  result_row walk "velmora walk (DirectoryItemInfo)" "velmora-walk-bench FOLDER"
  result_row find "find" "find FOLDER -maxdepth 1 \\| wc -l"
  echo
  echo "Rows: $(walk_field rows). In one further run the walk alone (without the process start-up)"
  echo "took $(walk_field walk_ms) ms, and resident memory grew by $(walk_field bytes_per_row) bytes per row"
  echo "(the record itself is $(walk_field record_bytes) bytes, its texts are on the heap; the array had"
  echo "room for $(walk_field capacity) rows at the end)."
  echo
  echo "## Start-up"
  echo
  echo "| Measurement | Command | Runs | Min (s) | Median (s) | Peak RSS (MB) |"
  echo "|---|---|---:|---:|---:|---:|"
  result_row version "version" "velmora --version"
  result_row empty "check of an empty folder" "velmora check EMPTY"
  echo
  echo "Display platform plugins loaded by \`velmora --version\` (\`LD_DEBUG=files\`): $platform_plugins."
  echo "Both commands run with a display platform that does not exist: $headless (a GUI"
  echo "application object could not be made there, so the command-line form makes none)."
  echo
  echo "## Targets"
  echo
  echo "| Target | Measured | Goal | Result |"
  echo "|---|---:|---|---|"
  for songs in "${sizes[@]}"; do
    target_row "$songs songs: exiftool time / song check time" "$songs.exiftool" "$songs.song" "at least 10" ge 10
    target_row "$songs songs: exiftool time / song check time, every file read" "$songs.exiftool" "$songs.songfirst" \
      "at least 20" ge 20
    target_row "$songs songs: exiftool time / media-details check time, every file read" "$songs.exiftool" \
      "$songs.detailsfirst" "at least 2" ge 2
    target_row "$songs songs: exiftool time / song check time, no options" "$songs.exiftool" "$songs.songdefault" \
      "at least 20" ge 20
    target_row "$songs songs: exiftool time / media-details check time, no options" "$songs.exiftool" "$songs.details" \
      "at least 2" ge 2
    target_row "$songs songs: exiftool time / song check time, in full (--full-check)" "$songs.exiftool" \
      "$songs.songfull" "at least 20" ge 20
    target_row "$songs songs: exiftool time / media-details check time, in full (--full-check)" "$songs.exiftool" \
      "$songs.detailsfull" "at least 2" ge 2
    target_row "$songs songs: tool engine (1 job) / mediainfo loop" "$songs.tool1" "$songs.miloop" "at most 1.2" le 1.2
    target_row "$songs songs: tool engine (1 job) / library engine (2 jobs)" "$songs.tool1" "$songs.lib2" \
      "at least 10" ge 10
  done
  target_row "verification (2 jobs) / cat of every file" verify2 cat "at most 3" le 3
  target_row "verification (2 jobs) / mp3val over the MP3s" verify2 mp3val "at most 1 (no slower)" le 1
  target_row "flat walk / find" walk find "at most 3" le 3
  target_row "second song check of $(grouped "$rescan_files") files / stat walk" rescan.song rescan.find "at most 2" le 2
  target_row "second media-details check of $(grouped "$rescan_files") files / stat walk" rescan.details rescan.find \
    "at most 2" le 2
  for kind in song details; do
    rows_var="rescan_rows_$kind"
    if [ -n "${res_rss[rescan.$kind]:-}" ] && [ "${!rows_var}" -gt 0 ]; then
      # Above the peak of a check of an empty folder (the program and its libraries).
      per_row=$(( (res_rss[rescan.$kind] - ${res_rss[empty]:-0}) * 1024 / ${!rows_var} ))
      echo "| peak memory per row above an empty check's, second $([ "$kind" = song ] && echo song || echo media-details) check (bytes) |" \
        "$per_row | under 1,024 | $([ "$per_row" -lt 1024 ] && echo met || echo "**missed**") |"
    fi
  done
  for key in version empty; do
    if [ -n "${res_med[$key]:-}" ]; then
      echo "| start-up, $([ "$key" = version ] && echo "\`velmora --version\`" || echo "check of an empty folder") (ms, median) |" \
        "${res_med[$key]} | under 50 | $([ "${res_med[$key]%.*}" -lt 50 ] && echo met || echo "**missed**") |"
    fi
  done
  bytes_per_row=$(walk_field bytes_per_row)
  if [ -n "$bytes_per_row" ]; then
    echo "| memory per row of the $(grouped "$flat_files")-file walk (bytes) | $bytes_per_row | under 1,024 |" \
      "$([ "$bytes_per_row" -lt 1024 ] && echo met || echo "**missed**") |"
  fi
  echo
  echo "## Window against command line"
  echo
  echo "Measured by \`bench/window-bench.sh\` on the library of 1,000 songs: the window (under Xvfb,"
  echo "default settings) and \`velmora check --full-check\` (the window never replays a kept check), both"
  echo "check kinds; the goal is a"
  echo "window check of at most 1.3 times the command line's. Paints per second and the longest gap"
  echo "between the window's turns say how live the window stayed; Stop is clicked a third of the"
  echo "way into a check."
  echo
  echo "$window_report"
  if [ -f "$root/bench/performance-notes.md" ]; then
    echo
    cat "$root/bench/performance-notes.md"
  fi
} >"$report"
say "Figures written to $report"
