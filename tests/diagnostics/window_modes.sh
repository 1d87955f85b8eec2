#!/usr/bin/env bash
# Expand and overview modes with real windows on an X display.
source "$(dirname "$0")/common.sh"
[ -n "${DISPLAY:-}" ] || fail "needs an X display (run under Xvfb)"

run_mode GLIMMERBOX_FOLLOW_TEST=1
expect_match "^  PASS  展开完成：主卡到右上角，四块副图落位  origin=\(.*\) count=4$"
expect_line "  PASS  拖动主卡：主卡与四块副图同偏移  offset=(-200, -150)"
expect_match "^  PASS  拖出左边缘：主卡夹在屏幕内，副图保持相对位置  minX="
expect_line "  PASS  收起后四块副图全部关闭  count=1"
expect_no_match "FAIL"
expect_line "=== 真窗口跟随自测：全部通过 ==="

run_mode GLIMMERBOX_OVERVIEW_TEST=1
expect_match "^  PASS  200 只股票只建屏幕可见范围的窗口  count=[0-9]+ bound=[0-9]+$"
expect_match "^  PASS  顶卡在屏幕顶部并带透明条  origin=\(.*\) size=376x242$"
expect_line "  PASS  滚轮 200：列表上移 200，顶卡不动  offset=200"
expect_line "  PASS  滚到顶部夹在 0  offset=0"
expect_match "^  PASS  滚到底部夹在 maxScroll，末卡落在列底且是最后一只  offset="
expect_line "  PASS  隐藏没有窗口的股票：列表少这一只，末卡仍对  left=199"
expect_line "  PASS  隐藏的按钮不吞卡片点击  focus=1 hidden=0"
expect_match "^  PASS  眼睛按钮隐藏该股票：列表少这一只，窗口交给下一张卡  count=[0-9]+$"
expect_match "^  PASS  隐藏顶卡自己的股票后顶卡仍在  count=[0-9]+$"
expect_line "  PASS  同步视图后每张卡视图一致（含滚动后才有窗口的卡）  view=3"
expect_line "  PASS  关闭后不留窗口  count=0"
expect_no_match "FAIL"
expect_line "=== 真窗口全览自测：全部通过 ==="
# The window states read back from the X server: always on top means on every workspace.
run_mode GLIMMERBOX_LAYOUT_TEST=1
expect_line "  PASS  关闭置顶：窗口只在当前工作区  sticky=0 desktop=none"
expect_line "  PASS  开启置顶：窗口在所有工作区  sticky=1 desktop=0xFFFFFFFF"
expect_no_match "FAIL"
expect_line "=== 展开/全览布局自测：全部通过 ==="
[ ! -e "$XDG_DATA_HOME/Glimmerbox/config.json" ] || fail "a window test wrote the configuration"
echo "window modes ok"
