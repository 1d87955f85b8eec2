#!/usr/bin/env bash
# Quitting while every provider request hangs: SIGTERM, SIGINT and the card menu's "退出" each end
# the real program within a second, with the card's position stored and nothing else changed.
# Usage: quit_end_to_end.sh <glimmerbox> <glimmer-simmarket>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
# has_ended <pid>: the process is gone or only waits to be reaped.
has_ended() { [ ! -e "/proc/$1" ] || [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" = Z ]; }

start_display 1440x900
use_private_home
start_market --fault '*=hang'

# requests_seen: provider requests the market has received so far (hung ones included).
requests_seen() {
  glimmer_sim_request GET /_sim/counters | grep -o '"total": *[0-9]*' | grep -o '[0-9]*$' || echo 0
}
has_requests_beyond() { [ "$(requests_seen)" -gt "$1" ]; }

# quit_once <how> <x> <y>: starts the program, waits until a refresh pass hangs on the network,
# moves the card to (x, y) and quits it by SIGTERM, SIGINT or the card menu.
quit_once() {
  local how=$1 x=$2 y=$3 before window started elapsed status=0
  cat > "$dir/config.json" <<JSON
{
  "watchlist": [{"code": "600519", "name": "贵州茅台", "kind": "stock"}, {"code": "300750", "name": "宁德时代", "kind": "stock"}],
  "didImportHoldings": true,
  "autoLaunch": false,
  "refreshSeconds": 5
}
JSON
  before=$(requests_seen)
  "$app_bin" > "$work/stdout.txt" 2>&1 &
  app_pid=$!
  wait_for 20 grep -qs 'INFO 浮窗已显示' "$log" || fail "$how: card not shown"
  wait_for 10 has_requests_beyond "$before" || fail "$how: no request reached the market"
  window=$(xdotool search --onlyvisible --name '^Glimmerbox$' | head -1)
  [ -n "$window" ] || fail "$how: no Glimmerbox window"
  xdotool windowmove "$window" "$x" "$y"
  sleep 0.3
  cp "$dir/config.json" "$work/before.json"

  if [ "$how" = menu ]; then
    # Without a tray the card's own menu ends with "退出"; Up from no selection picks the last item.
    xdotool mousemove "$(( x + 100 ))" "$(( y + 100 ))" click 3
    sleep 0.4
    started=$(date +%s%N)
    xdotool key Up Return
  else
    started=$(date +%s%N)
    kill "-$how" "$app_pid"
  fi
  wait_for 15 has_ended "$app_pid" || kill -KILL "$app_pid"
  elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
  wait "$app_pid" || status=$?
  app_pid=""
  echo "$how: ended after $elapsed ms with status $status"
  [ "$status" -eq 0 ] || fail "$how: exit status $status"
  [ "$elapsed" -lt 1000 ] || fail "$how: took $elapsed ms to end while the network hangs"
  grep -q "\"originX\": $x" "$dir/config.json" || { grep origin "$dir/config.json"; fail "$how: originX not stored"; }
  # Nothing but the position changed: the pass cut short wrote nothing.
  diff <(grep -v '"origin[XY]"' "$work/before.json") <(grep -v '"origin[XY]"' "$dir/config.json") \
    || fail "$how: config.json changed beyond the position"
  if grep -q '冷却' "$log"; then fail "$how: the transfers cut short were counted as provider failures"; fi
  rm -f "$log"
}

quit_once TERM 200 300
quit_once INT 260 320
quit_once menu 320 340
echo "quit end to end ok"
