#!/usr/bin/env bash
# The real program on its own 1440 x 900 X display against the simulated market: first data, the
# card window's place and size, rotation, a price alert, a clean SIGTERM and the stored origin, all
# under a German locale (decimal comma).
# Usage: app_end_to_end.sh <glimmerbox> <glimmer-simmarket> <artifacts folder>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../support/comma_locale.sh"

start_display 1440x900
use_private_home
start_market

# Short rotation intervals, one price alert, the signal rules off so only that alert fires.
cat > "$dir/config.json" <<JSON
{
  "watchlist": [
    {"code": "600519", "name": "", "kind": "stock"},
    {"code": "300750", "name": "", "kind": "stock"},
    {"code": "510300", "name": "", "kind": "etf"}
  ],
  "didImportHoldings": true,
  "autoLaunch": false,
  "refreshSeconds": 5,
  "autoRotateSeconds": 2,
  "viewRotateSeconds": 1,
  "pauseRotateOnHover": false,
  "alerts": {
    "priceAlerts": [{"id": "5C0F6E4A-2B8D-4E59-9A63-1D2E3F405162", "code": "600519", "direction": "above",
                     "price": 1600, "enabled": true, "note": ""}],
    "fastRiseEnabled": false, "fastDropEnabled": false, "scissorsEnabled": false,
    "mainFallingEnabled": false, "maTouchEnabled": false
  }
}
JSON

# A user whose locale writes numbers with a decimal comma: what the program writes keeps the point.
comma_locale "$work/locale"
started=$(date +%s%N)
LOCPATH="$work/locale" LC_ALL=de_DE.UTF-8 "$app_bin" \
  > "$work/stdout.txt" 2>&1 &
app_pid=$!

wait_for 20 grep -qs 'INFO 首批数据到达 600519 贵州茅台 现价=' "$log" || fail "no first data"
grep -qE 'INFO 浮窗已显示 origin=\(1048,12\) 可见=true$' "$log" || fail "panel not shown in the corner"
echo "first data after $(( ($(date +%s%N) - started) / 1000000 )) ms"

window=$(xdotool search --onlyvisible --name '^Glimmerbox$' | head -1)
[ -n "$window" ] || fail "no Glimmerbox window"
geometry=$(xdotool getwindowgeometry "$window")
echo "$geometry"
grep -q 'Position: 1048,646' <<<"$geometry" || fail "card window not 16 from the right and 12 from the bottom"
# The window is the 376 x 242 card plus its shadow margin on the right and at the bottom.
grep -q 'Geometry: 388x256' <<<"$geometry" || fail "card window not 376 x 242 with its 12 x 14 shadow margin"

wait_for 15 grep -qs 'INFO 切换股票 delta=1' "$log" || fail "the security did not rotate"

# The simulated price crosses the alert line. Hiding and showing the card with its hot key asks
# for a refresh at once, so the test does not wait for the next poll.
glimmer_sim_request POST /_sim/pin '{"code": "600519", "price": 1666.0, "prevClose": 1500.0}' > /dev/null \
  || fail "could not pin the price"
xdotool key --clearmodifiers ctrl+alt+f
wait_for 5 grep -qs 'INFO 浮窗已隐藏' "$log" || fail "hot key did not hide the card"
xdotool key --clearmodifiers ctrl+alt+f
wait_for 20 grep -qs 'INFO 预警触发 600519 priceAbove ' "$log" || fail "no price alert"
grep -qF 'INFO 预警触发 600519 priceAbove 涨到 1600.00，现价 1666.00' "$log" || fail "alert figures not written with a decimal point"
sleep 0.5

mkdir -p "$artifacts"
import -display "$display" -window root "$artifacts/app_end_to_end.png" || echo "screenshot failed"

# Window names as the window manager shows them (_NET_WM_NAME), nothing appended.
net_wm_name() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
[ "$(net_wm_name "$window")" = "Glimmerbox" ] || fail "card window named '$(net_wm_name "$window")'"
# The settings window through the card's menu: the sixth entry is "设置…".
xdotool mousemove --window "$window" 200 120 click 3
sleep 0.5
xdotool key Down Down Down Down Down Down Return
wait_for 5 xdotool search --onlyvisible --name '^Glimmerbox 设置$' >/dev/null || fail "settings window did not open"
settings=$(xdotool search --onlyvisible --name '^Glimmerbox 设置$' | head -1)
[ "$(net_wm_name "$settings")" = "Glimmerbox 设置" ] || fail "settings window named '$(net_wm_name "$settings")'"

# A window moved by the window system is stored at quit even before the debounce fires.
xdotool windowmove "$window" 200 300
sleep 0.2
kill -TERM "$app_pid"
status=0
wait_for 15 bash -c "! kill -0 $app_pid 2>/dev/null" || fail "program did not end after SIGTERM"
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
grep -q '"originX": 200' "$dir/config.json" || { grep origin "$dir/config.json"; fail "originX not stored"; }
grep -q '"originY": 358' "$dir/config.json" || { grep origin "$dir/config.json"; fail "originY not stored"; }
grep -q '"name": "贵州茅台"' "$dir/config.json" || fail "watch-list names not filled from quotes"
echo "end to end ok"
