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
  mkdir -p "$home/data/Glimmerbox" "$home/config"
  export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config"
  config="$home/data/Glimmerbox/config.json"
  if [ ! -f "$config" ]; then
    cat > "$config" <<'JSON'
{
  "watchlist": [
    {"code": "600519", "name": "", "kind": "stock"}, {"code": "300750", "name": "", "kind": "stock"},
    {"code": "510300", "name": "", "kind": "etf"}, {"code": "601318", "name": "", "kind": "stock"},
    {"code": "000858", "name": "", "kind": "stock"}, {"code": "600036", "name": "", "kind": "stock"},
    {"code": "002594", "name": "", "kind": "stock"}, {"code": "159915", "name": "", "kind": "etf"},
    {"code": "000333", "name": "", "kind": "stock"}, {"code": "601012", "name": "", "kind": "stock"}
  ],
  "didImportHoldings": true,
  "autoLaunch": false,
  "opacity": 0.9,
  "autoRotateSeconds": 10,
  "viewRotateSeconds": 4
}
JSON
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
  read -r -a extra_sim_args <<< "${GLIMMER_DEMO_SIM_ARGS:-}"
  endpoints="$home/endpoints.json"
  rm -f "$endpoints"
  "$GLIMMER_ROOT/build/release/glimmer-simmarket" "${sim_args[@]+"${sim_args[@]}"}" \
    "${extra_sim_args[@]+"${extra_sim_args[@]}"}" --endpoints-file "$endpoints" \
    > "$home/simmarket.txt" 2>&1 &
  GLIMMER_SIM_PID=$!
  for _ in $(seq 1 50); do grep -q '^control ' "$home/simmarket.txt" 2>/dev/null && break; sleep 0.1; done
  control=$(sed -n 's#^control http://\([^/]*\)/.*#\1#p' "$home/simmarket.txt")
  if [ ${#sim_args[@]} -gt 0 ] && [ -n "$control" ]; then
    ( body='{"advance": 5}'
      while sleep 5; do
        exec 3<>"/dev/tcp/${control%:*}/${control##*:}" || continue
        printf 'POST /_sim/clock HTTP/1.1\r\nHost: %s\r\nContent-Length: %d\r\nConnection: close\r\n\r\n%s' \
          "$control" "${#body}" "$body" >&3
        cat <&3 >/dev/null
        exec 3>&-
      done ) &
    GLIMMER_CLOCK_PID=$!
  fi
  export GLIMMERBOX_ENDPOINTS="$endpoints"
  echo "Demo: simulated market at $control ($(sed -n 's/^simulated time //p' "$home/simmarket.txt")), configuration in $home/data/Glimmerbox"
fi

"$GLIMMER_ROOT/build/release/glimmerbox" "${args[@]+"${args[@]}"}"
