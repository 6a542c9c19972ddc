#!/usr/bin/env bash
# The real program under Xvfb: processor time used while nothing happens for 20 s, and resident memory,
# with the start scene and with a scene of 1,000 blocks.
#   bench/idle_and_memory.sh [BUILD_DIR]     (default build/bench; needs xvfb, xdotool)
# Prints one line per scene: idle CPU as a share of one core, and resident memory (now and at its peak).
set -euo pipefail
script="$(cd "$(dirname "$0")" && pwd)/$(basename "$0")"
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--inside" ]; then inside=1; shift; else inside=0; fi
build=$(realpath -m "${1:-build/bench}")
seconds=${IDLE_SECONDS:-20}
for c in xvfb-run xdotool; do
  command -v $c >/dev/null || { echo "needs $c (apt-get install -y xvfb xauth xdotool)"; exit 2; }
done
[ -x "$build/bin/tolvane" ] || { echo "no $build/bin/tolvane: build it first"; exit 2; }
measure() {  # $1: label
  "$build/bin/tolvane" >/dev/null 2>&1 &
  local pid=$!
  # Start-up: the title videos are skipped, then the program settles.
  sleep 3; xdotool key Escape; sleep 0.5; xdotool key Escape; sleep 6
  local hz before after
  hz=$(getconf CLK_TCK)
  before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep "$seconds"
  after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  local rss hwm
  rss=$(awk '/VmRSS/ {print int($2 / 1024)}' "/proc/$pid/status")
  hwm=$(awk '/VmHWM/ {print int($2 / 1024)}' "/proc/$pid/status")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  awk -v l="$1" -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v rss="$rss" -v hwm="$hwm" \
    'BEGIN { printf "%-22s idle CPU %5.2f %% of a core over %d s; resident memory %d MB (peak %d MB)\n", l, 100 * t / hz / s, s, rss, hwm }'
}

if [ "$inside" = 1 ]; then
  measure "$2"
  exit 0
fi

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_STATE_HOME=$home/state
export TOLVANE_DATA=$build/bin/data SDL_AUDIODRIVER=dummy
"$build/bin/tolvane-setup" >/dev/null
install_dir=$home/data/tolvane
"$build/bin/bench_SceneFileBench" --write-scene 1000 "$home/scene1000.lml"

xvfb-run -a -s '-screen 0 640x480x24' "$script" --inside "$build" "start scene"
cp "$home/scene1000.lml" "$install_dir/Port/temp.lml"
xvfb-run -a -s '-screen 0 640x480x24' "$script" --inside "$build" "1,000-block scene"
