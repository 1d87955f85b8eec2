#!/usr/bin/env bash
# The tray starts after the program (autostart at login often wins that race): the program's icon
# must dock into it. Runs under tests/x11/on_screen.sh, which provides the X display.
# Usage: tray_later.sh <glimmerbox> <glimmer-simmarket>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh" "$1" "$2" ""
command -v trayer >/dev/null || { echo "trayer is not installed: no tray to start"; exit 77; }
tray_pid=""
trap 'cleanup; [ -n "$tray_pid" ] && kill "$tray_pid" 2>/dev/null || true' EXIT

export QT_QPA_PLATFORM=xcb
use_private_home
start_market
printf '%s\n' '{"watchlist": [{"code": "600519", "name": "", "kind": "stock"}], "didImportHoldings": true}' \
  > "$dir/config.json"

"$app_bin" > "$work/stdout.txt" 2>&1 &
app_pid=$!
wait_for 20 grep -qs 'INFO 浮窗已显示' "$log" || fail "card not shown"

trayer --edge top --align right --widthtype pixel --width 200 --height 32 > "$work/trayer.txt" 2>&1 &
tray_pid=$!
wait_for 10 xdotool search --class '^trayer$' >/dev/null || fail "trayer did not start"
# Docked: the icon window (named after the program) is reparented into the tray's panel.
docked() {
  local panel
  for panel in $(xdotool search --class '^trayer$'); do
    xwininfo -tree -id "$panel" | grep '"Glimmerbox": ("glimmerbox"' >/dev/null && return 0
  done
  return 1
}
wait_for 10 docked || { xwininfo -root -tree; fail "the icon did not dock into the tray started later"; }
echo "tray icon docked"
