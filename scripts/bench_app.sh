#!/usr/bin/env bash
# Measures the running program against the simulated market with ten securities, on its own
# virtual display: time from process start to the first painted card (window mapped, then first
# data drawn), resident memory after DURATION seconds and the CPU time used over DURATION idle
# seconds at the default 30 s refresh, panel visible, no pointer.
# Usage: scripts/bench_app.sh [build folder (default build/release)] [DURATION seconds (default 300)]
# GLIMMER_BENCH_SECURITIES=N watches N generated codes instead of the demo's ten; GLIMMER_BENCH_OVERVIEW=1
# then opens the overview (⌥⌘G), reports its resident memory and the CPU time per wheel notch over
# 30 notches; GLIMMER_BENCH_SCREEN sets the display size (default 1440x900).
# With libfaketime (Debian package libfaketime) installed the program's clock is put on a weekday morning so it polls at the
# trading-time rate (GLIMMER_BENCH_FAKETIME=0 turns that off); without it, outside trading hours the
# program polls every five minutes.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/session.sh"
build="${1:-$root/build/release}"
duration="${2:-300}"
work=$(mktemp -d)
GLIMMER_XVFB_PID="" GLIMMER_SIM_PID="" app_pid=""
cleanup() {
  for pid in "$app_pid" "$GLIMMER_SIM_PID" "$GLIMMER_XVFB_PID"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

glimmer_start_xvfb "${GLIMMER_BENCH_SCREEN:-1440x900}"
export QT_QPA_PLATFORM=xcb
glimmer_private_home "$work"
glimmer_start_market "$build/glimmer-simmarket" "$work" --time "2024-11-08 10:30"
glimmer_demo_config "$GLIMMER_APP_DIR/config.json"
count="${GLIMMER_BENCH_SECURITIES:-}"
if [ -n "$count" ]; then
  # Alternately Shenzhen and Shanghai codes; the simulated market trades any well-formed code.
  python3 - "$GLIMMER_APP_DIR/config.json" "$count" <<'PY'
import json, sys
path, n = sys.argv[1], int(sys.argv[2])
config = json.load(open(path))
config["watchlist"] = [{"code": f"{600000 + i if i % 2 else 1 + i:06d}", "name": "", "kind": "stock"} for i in range(n)]
json.dump(config, open(path, "w"), ensure_ascii=False)
PY
fi

faketime_lib=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
launcher=()
if [ -f "$faketime_lib" ] && [ "${GLIMMER_BENCH_FAKETIME:-1}" = 1 ]; then
  # 10:30 China time on a Friday, running on; monotonic time (Qt timers) stays real. Preloaded
  # directly so the measured process is the program itself.
  launcher=(env LD_PRELOAD="$faketime_lib" FAKETIME="@2024-11-08 02:30:00" FAKETIME_DONT_FAKE_MONOTONIC=1 TZ=UTC)
fi

start=$(date +%s%N)
"${launcher[@]}" "$build/glimmerbox" > "$work/out.txt" 2>&1 &
app_pid=$!
mapped="" data=""
for _ in $(seq 1 2000); do
  if [ -z "$mapped" ] && xdotool search --onlyvisible --name '^Glimmerbox$' >/dev/null 2>&1; then
    mapped=$(( ($(date +%s%N) - start) / 1000000 ))
  fi
  if [ -z "$data" ] && grep -q '首批数据到达' "$work/out.txt"; then data=$(( ($(date +%s%N) - start) / 1000000 )); fi
  [ -n "$mapped" ] && [ -n "$data" ] && break
  sleep 0.005
done
echo "start to card window shown: ${mapped:-?} ms"
echo "start to first data drawn on the card: ${data:-?} ms"

# Idle from here on: the pointer stays off the card.
xdotool mousemove 10 10
sleep 2
ticks=$(getconf CLK_TCK)
cpu_before=$(awk '{print $14 + $15}' "/proc/$app_pid/stat")
sleep "$duration"
cpu_after=$(awk '{print $14 + $15}' "/proc/$app_pid/stat")
rss_kb=$(awk '/^VmRSS/ {print $2}' "/proc/$app_pid/status")
cpu_s=$(awk -v a="$cpu_before" -v b="$cpu_after" -v t="$ticks" 'BEGIN {printf "%.2f", (b - a) / t}')
echo "resident memory after $duration s: $(( rss_kb / 1024 )) MB"
echo "CPU over $duration idle seconds: $cpu_s s ($(awk -v c="$cpu_s" -v d="$duration" 'BEGIN {printf "%.2f", 100 * c / d}') % of one core)"
if [ "${GLIMMER_BENCH_OVERVIEW:-0}" = 1 ]; then
  xdotool key --clearmodifiers ctrl+alt+g
  for _ in $(seq 1 200); do grep -qsF '全览：已展开' "$GLIMMER_APP_DIR/events.log" && break; sleep 0.05; done
  sleep 10 # the build-up animation (one window after another) and the first paints
  echo "resident memory with the overview open: $(( $(awk '/^VmRSS/ {print $2}' "/proc/$app_pid/status") / 1024 )) MB"
  # Over a list card, below the pinned header.
  read -r width height < <(xdotool getdisplaygeometry)
  xdotool mousemove $(( width / 2 )) $(( height * 2 / 3 ))
  sleep 1
  cpu_before=$(awk '{print $14 + $15}' "/proc/$app_pid/stat")
  xdotool click --repeat 30 --delay 100 5
  sleep 0.5
  cpu_after=$(awk '{print $14 + $15}' "/proc/$app_pid/stat")
  echo "CPU per overview wheel notch: $(awk -v a="$cpu_before" -v b="$cpu_after" -v t="$ticks" 'BEGIN {printf "%.1f", 1000 * (b - a) / t / 30}') ms"
fi
echo "snapshot requests served by the simulated market: $(glimmer_sim_request GET /_sim/counters | grep -o '"snapshot": [0-9]*' | head -1)"
