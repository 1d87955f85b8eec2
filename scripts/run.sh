#!/usr/bin/env bash
# Installs what is missing, builds Release and starts Glimmerbox. Without a reachable display the
# program runs on a virtual X display and a screenshot of it is refreshed in artifacts/screen.png.
# --demo: runs against the simulated market on loopback with a configuration folder of its own
# (GLIMMER_DEMO_HOME, default a fresh temporary folder), so no network is needed;
# GLIMMER_DEMO_SIM_ARGS adds options for the simulated market, e.g. "--holiday today".
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

demo=0
args=()
for arg in "$@"; do
  if [ "$arg" = "--demo" ]; then demo=1; else args+=("$arg"); fi
done

glimmer_install_packages
glimmer_build "$GLIMMER_ROOT/build/release" Release

cleanup() {
  [ -n "${GLIMMER_CLOCK_PID:-}" ] && kill "$GLIMMER_CLOCK_PID" 2>/dev/null || true
  [ -n "${GLIMMER_SIM_PID:-}" ] && kill "$GLIMMER_SIM_PID" 2>/dev/null || true
  [ -n "${GLIMMER_SHOT_PID:-}" ] && kill "$GLIMMER_SHOT_PID" 2>/dev/null || true
  [ -n "${GLIMMER_XVFB_PID:-}" ] && kill "$GLIMMER_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT

if ! glimmer_display_reachable; then
  glimmer_start_xvfb
  mkdir -p "$GLIMMER_ROOT/artifacts"
  shot="$GLIMMER_ROOT/artifacts/screen.png"
  echo "No display reachable: running on virtual display $DISPLAY."
  echo "A screenshot of that display is written to $shot every 3 seconds while the program runs."
  ( while true; do import -window root "$shot.tmp.png" 2>/dev/null && mv -f "$shot.tmp.png" "$shot"; sleep 3; done ) &
  GLIMMER_SHOT_PID=$!
fi

if [ "$demo" -eq 1 ]; then
  home="${GLIMMER_DEMO_HOME:-$(mktemp -d -t glimmerbox-demo.XXXXXX)}"
  glimmer_app_folders "$home"
  config="$GLIMMER_APP_DIR/config.json"
  if [ ! -f "$config" ]; then
    glimmer_demo_config "$config" '"opacity": 0.9' '"autoRotateSeconds": 10' '"viewRotateSeconds": 4'
  fi
  # Inside the exchange's hours the simulated market follows the real clock; outside them it starts
  # at 10:00 of the last weekday (China time) and its clock is moved on with the real one.
  china_hm=$(TZ=Asia/Shanghai date +%H%M)
  china_dow=$(TZ=Asia/Shanghai date +%u)
  sim_args=()
  if [ "$china_dow" -gt 5 ] || [ "$china_hm" -lt 0930 ] || [ "$china_hm" -ge 1500 ]; then
    back=0
    [ "$china_dow" -eq 6 ] && back=1
    [ "$china_dow" -eq 7 ] && back=2
    [ "$china_dow" -le 5 ] && [ "$china_hm" -lt 0930 ] && back=$(( china_dow == 1 ? 3 : 1 ))
    day=$(TZ=Asia/Shanghai date -d "-$back day" +%F)
    sim_args=(--time "$day 10:00")
  fi
  glimmer_start_market "$GLIMMER_ROOT/build/release/glimmer-simmarket" "$home" "${sim_args[@]+"${sim_args[@]}"}"
  if [ ${#sim_args[@]} -gt 0 ]; then
    ( while sleep 5; do glimmer_sim_request POST /_sim/clock '{"advance": 5}' > /dev/null || true; done ) &
    GLIMMER_CLOCK_PID=$!
  fi
  echo "Demo: simulated market at $GLIMMER_SIM_CONTROL ($(sed -n 's/^simulated time //p' "$home/sim.txt")), configuration in $GLIMMER_APP_DIR"
fi

"$GLIMMER_ROOT/build/release/glimmerbox" "${args[@]+"${args[@]}"}"
