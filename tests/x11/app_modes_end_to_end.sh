#!/usr/bin/env bash
# The real program on a 1512 x 950 X display against the simulated market, driven by its three
# global hot keys: ⌥⌘F hides and shows the card, ⌥⌘E expands the sub-chart group, ⌥⌘G collapses it
# and opens the overview of eight securities. Screenshots of both modes are kept.
# Usage: app_modes_end_to_end.sh <glimmerbox> <glimmer-simmarket> <artifacts folder>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
logged() { grep -qsF "INFO $1" "$log"; }
# visible_count <window-name regex>: mapped windows with that name.
visible_count() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
has_visible() { [ "$(visible_count "$1")" -ge "$2" ]; }
has_none() { [ "$(visible_count "$1")" -eq 0 ]; }
hotkey() { xdotool key --clearmodifiers "$1"; }

start_display 1512x950
use_private_home
start_market

# Eight securities; rotation off so the screenshots show a settled card.
cat > "$dir/config.json" <<JSON
{
  "watchlist": [
    {"code": "600519", "name": "", "kind": "stock"}, {"code": "300750", "name": "", "kind": "stock"},
    {"code": "000001", "name": "", "kind": "stock"}, {"code": "601318", "name": "", "kind": "stock"},
    {"code": "600036", "name": "", "kind": "stock"}, {"code": "000858", "name": "", "kind": "stock"},
    {"code": "000333", "name": "", "kind": "stock"}, {"code": "002594", "name": "", "kind": "stock"}
  ],
  "didImportHoldings": true,
  "autoLaunch": false,
  "refreshSeconds": 5,
  "autoRotateSeconds": 0,
  "viewRotateSeconds": 0
}
JSON

"$app_bin" > "$work/stdout.txt" 2>&1 &
app_pid=$!

wait_for 20 grep -qs 'INFO 首批数据到达 600519 贵州茅台 现价=' "$log" || fail "no first data"
for line in '全局快捷键 Ctrl+Alt+F 注册成功' '副图展开快捷键 Ctrl+Alt+E 注册成功' '全览快捷键 Ctrl+Alt+G 注册成功'; do
  logged "$line" || fail "missing registration line: $line"
done
wait_for 5 has_visible '^Glimmerbox$' 1 || fail "card window not shown"
mkdir -p "$artifacts"

# ⌥⌘F hides the card and brings it back.
hotkey ctrl+alt+f
wait_for 5 logged '浮窗已隐藏（缩到菜单栏）' || fail "⌥⌘F did not hide the card"
wait_for 5 has_none '^Glimmerbox$' || fail "card window still mapped after hiding"
hotkey ctrl+alt+f
wait_for 5 logged '浮窗已呼出' || fail "⌥⌘F did not show the card"
wait_for 5 has_visible '^Glimmerbox$' 1 || fail "card window not mapped after showing"
# Let all eight securities arrive before the group is drawn.
wait_for 20 grep -qs '"name": "比亚迪"' "$dir/config.json" || fail "names of all eight securities not filled"

# ⌥⌘E: the card goes to the top-right corner with four sub-chart windows under it.
hotkey ctrl+alt+e
wait_for 5 logged '副图展开：主卡分时移到右上角，四块副图自上而下落下' || fail "⌥⌘E did not expand"
wait_for 5 logged '副图展开：展开完成' || fail "expansion did not complete"
wait_for 5 has_visible '^Glimmerbox-(MACD|资金流|量能|日K)$' 4 || fail "four sub-chart windows expected"
main_window=$(xdotool search --onlyvisible --name '^Glimmerbox$' | head -1)
wait_for 5 bash -c "xdotool getwindowgeometry $main_window | grep 'Position: 1120,12' >/dev/null" \
  || { xdotool getwindowgeometry "$main_window"; fail "card not in the top-right corner"; }
sleep 0.4
import -display "$display" -window root "$artifacts/app_expanded.png" || echo "screenshot failed"

# ⌥⌘G while expanded: the group collapses first, then the overview replaces the card.
hotkey ctrl+alt+g
wait_for 5 logged '副图展开：已收起，主卡回到右下角，恢复视图轮播' || fail "⌥⌘G did not collapse the group first"
wait_for 5 logged '全览：已展开 8 只股票（隐藏 0 只），顶卡固定 + 单列滚动，当前视图=分时' || fail "⌥⌘G did not open the overview"
wait_for 5 has_none '^Glimmerbox-(MACD|资金流|量能|日K)$' || fail "sub-chart windows left after collapsing"
wait_for 5 has_none '^Glimmerbox$' || fail "card window still shown in overview mode"
wait_for 5 has_visible '^Glimmerbox-全览-' 3 || fail "overview windows missing"
sleep 0.5
import -display "$display" -window root "$artifacts/app_overview.png" || echo "screenshot failed"

# ⌥⌘G again: back to the single card.
hotkey ctrl+alt+g
wait_for 5 logged '全览：已收起' || fail "⌥⌘G did not close the overview"
wait_for 5 has_none '^Glimmerbox-全览-' || fail "overview windows left after closing"
wait_for 5 has_visible '^Glimmerbox$' 1 || fail "card window not back after the overview"

kill -TERM "$app_pid"
status=0
wait_for 15 bash -c "! kill -0 $app_pid 2>/dev/null" || fail "program did not end after SIGTERM"
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
echo "hot-key modes ok"
