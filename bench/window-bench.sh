#!/usr/bin/env bash
# Times the window's checks against the command line's on the same generated folder, both
# check kinds, and prints the ratios with how live the window stayed meanwhile.
#
#   bench/window-bench.sh [--songs N | --library DIR] [--runs N] [--accessibility] [--shot FILE]
#                         [--no-build]
#
# --songs N        size of the generated library (default 2000 songs: 3,700 files)
# --library DIR    check DIR instead of a generated library
# --runs N         timed runs of each command (default 5), after one untimed run
# --accessibility  run the window with the accessibility bridge active (a session bus with
#                  the at-spi bus launcher), as under a screen reader
# --shot FILE      a screenshot of the screen one second into a media-details check
# --no-build       use the Release build in build-bench/ as it is
#
# The window runs on its own Xvfb server, 1280 x 1024, with the default settings (a scratch
# settings folder): the same engine and jobs as `velmora check --full-check`. The
# window's time is the check from the command to its end (velmora-window-bench); the
# command line's is the whole process, start-up included. Works in build-bench/, which it
# shares with bench/run-bench.sh.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
data="$build/bench-data"
songs=2000
runs=5
accessibility=0
shot=""
do_build=1
library=""

usage() { sed -n '5,15p' "$0" | sed 's/^# \{0,1\}//'; }
while [ $# -gt 0 ]; do
  case "$1" in
    --songs) songs=${2:?--songs needs a number}; shift ;;
    --library) library=${2:?--library needs a folder}; shift ;;
    --runs) runs=${2:?--runs needs a number}; shift ;;
    --accessibility) accessibility=1 ;;
    --shot) shot=${2:?--shot needs a file}; shift ;;
    --no-build) do_build=0 ;;
    -h|--help) usage; exit 0 ;;
    *) echo "window-bench.sh: unknown argument $1" >&2; usage >&2; exit 2 ;;
  esac
  shift
done
for value in "$songs" "$runs"; do
  [[ "$value" =~ ^[1-9][0-9]*$ ]] || { echo "window-bench.sh: counts must be whole numbers from 1" >&2; exit 2; }
done
for tool in Xvfb cmake ninja; do
  command -v "$tool" >/dev/null || { echo "window-bench.sh: $tool is missing" >&2; exit 1; }
done
if [ "$accessibility" = 1 ]; then
  launcher=/usr/libexec/at-spi-bus-launcher
  command -v dbus-run-session >/dev/null && [ -x "$launcher" ] ||
    { echo "window-bench.sh: --accessibility needs dbus-run-session and $launcher (at-spi2-core)" >&2; exit 1; }
fi

say() { echo "== $*" >&2; }

if [ "$do_build" = 1 ]; then
  say "Release build in $build"
  launcher_options=()
  command -v ccache >/dev/null && launcher_options=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF \
    -DVELMORA_BENCH=ON "${launcher_options[@]}" >/dev/null
  ninja -C "$build" velmora velmora-samplegen velmora-window-bench >/dev/null
fi
velmora="$build/src/velmora"
window_bench="$build/bench/velmora-window-bench"
samplegen="$build/tools/samplegen/velmora-samplegen"

scratch=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$scratch/config"
# The window and the command line keep their run logs and results caches apart: the bench
# window is a program of its own, whose cached results are no other program's, so in one
# folder each run would find the other's and read every file again.
logs="$scratch/logs"
window_logs="$scratch/window-logs"
mkdir -p "$logs" "$window_logs"

if [ -n "$library" ]; then
  [ -d "$library" ] || { echo "window-bench.sh: no folder $library" >&2; exit 2; }
  library=$(cd "$library" && pwd)
  songs=""
else
  library="$data/window-library-$songs"
fi
if [ ! -d "$library" ]; then
  say "Writing a library of $songs songs"
  "$samplegen" --songs "$songs" --seed 1 "$library" >&2
fi
files=$(find "$library" -type f | wc -l)
find "$library" -type f -print0 | xargs -0 cat >/dev/null

# One X server for every window run; -displayfd picks a free display number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || { echo "window-bench.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$scratch/display")"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

run_window() {
  if [ "$accessibility" = 1 ]; then
    # The accessibility registry says hello on stdout; only the bench's line is kept.
    dbus-run-session -- bash -c '"$1" --launch-immediately & bus=$!; sleep 1
      QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "${@:2}"; status=$?; kill $bus; exit $status' _ \
      "$launcher" "$window_bench" "$@" 2>/dev/null | grep 'check_ms='
  else
    "$window_bench" "$@" 2>/dev/null
  fi
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2"; }

# measure_kind LABEL OPTION...: the command line and the window, runs times each. The window
# does not replay a kept check of an unchanged folder, so the command line is told to check
# in full too (--full-check): both then do the same work with the same kept file results.
report=()
stops=()
measure_kind() {
  local label=$1 cli_ms=() window_ms=() line="" start end i
  shift
  "$velmora" check "$@" --subfolders --full-check --data-dir "$logs" "$library" >/dev/null || true
  run_window "$@" --subfolders --data-dir "$window_logs" "$library" >/dev/null || true
  for ((i = 1; i <= runs; i++)); do
    start=$(date +%s%N)
    "$velmora" check "$@" --subfolders --full-check --data-dir "$logs" "$library" >/dev/null || true
    end=$(date +%s%N)
    cli_ms+=("$(( (end - start) / 1000000 ))")
    line=$(run_window "$@" --subfolders --data-dir "$window_logs" "$library")
    window_ms+=("$(field check_ms "$line")")
    say "$label run $i/$runs: command line ${cli_ms[-1]} ms, window ${window_ms[-1]} ms ($line)"
  done
  local cli window ratio seconds
  cli=$(printf '%s\n' "${cli_ms[@]}" | median)
  window=$(printf '%s\n' "${window_ms[@]}" | median)
  ratio=$(awk -v w="$window" -v c="$cli" 'BEGIN { printf "%.2f", w / (c > 0 ? c : 1) }')
  seconds=$(awk -v ms="$(field check_ms "$line")" 'BEGIN { s = ms / 1000; print (s > 0 ? s : 1) }')
  report+=("$(printf '| %s | %d | %.0f | %.2f | %s | %.1f | %.1f | %s |' "$label" "$cli" "$window" "$ratio" \
    "$(awk -v r="$ratio" 'BEGIN { print r <= 1.3 ? "met" : "**missed**" }')" \
    "$(awk -v n="$(field list_paints "$line")" -v s="$seconds" 'BEGIN { print n / s }')" \
    "$(awk -v n="$(field trace_paints "$line")" -v s="$seconds" 'BEGIN { print n / s }')" \
    "$(field longest_gap_ms "$line")")")
  # Stop, clicked a third of the way into a check; with an empty results cache, so that the
  # check reads its files while Stop is pressed.
  local stop_after stopped stop_logs
  stop_after=$(awk -v w="$window" 'BEGIN { printf "%d", w / 3 }')
  stop_logs=$(mktemp -d "$scratch/stop-logs.XXXXXX")
  stopped=$(run_window "$@" --subfolders --stop-after "$stop_after" --data-dir "$stop_logs" "$library")
  stops+=("- $label: Stop clicked $stop_after ms into the check; the check ended $(field stop_ms "$stopped") ms later.")
}

say "Library: $files files; window on $DISPLAY$([ "$accessibility" = 1 ] && echo ", accessibility bridge active")"
measure_kind "song check (\`--songs\`)" --songs
measure_kind "media-details check" 

if [ -n "$shot" ]; then
  run_window --subfolders --shot "$shot" --shot-after 1000 --data-dir "$(mktemp -d "$scratch/shot-logs.XXXXXX")" \
    "$library" >/dev/null
  say "Screenshot written to $shot"
fi

accessible_line=$(run_window --songs --data-dir "$window_logs" "$scratch" || true)
echo
echo "Window against command line, $files files${songs:+ ($songs songs)}, $runs runs each, medians;"
echo "load average $(cut -d' ' -f1-3 /proc/loadavg); accessibility bridge active: $(field accessible "$accessible_line")."
echo
echo "| Check | Command line (ms) | Window (ms) | Ratio | Goal at most 1.3 | List paints/s | Pane paints/s | Longest gap between window turns (ms) |"
echo "|---|---:|---:|---:|---|---:|---:|---:|"
printf '%s\n' "${report[@]}"
echo
printf '%s\n' "${stops[@]}"
