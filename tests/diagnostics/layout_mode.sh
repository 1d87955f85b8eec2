#!/usr/bin/env bash
# The expand and overview geometry, window level, theme mapping and view stepping checks.
source "$(dirname "$0")/common.sh"
unset DISPLAY WAYLAND_DISPLAY

run_mode GLIMMERBOX_LAYOUT_TEST=1
for screen in "14 寸 1512x950" "小屏 1280x800"; do
    expect_match "^  PASS  $screen 主卡为第一块  origin=\("
    expect_match "^  PASS  $screen 副图与主卡片体左对齐  minX="
    expect_match "^  PASS  $screen 全览1只 只显示顶卡  count=0$"
done
expect_match "^  PASS  关闭置顶：normal 层级且不进全屏辅助层  "
expect_match "^  PASS  开启置顶：floating 层级且跨全屏空间  "
expect_line "  跳过  窗口工作区属性：当前窗口系统无从读取"
expect_line "  PASS  主题默认跟随系统"
expect_line "  PASS  主题外观映射：system=nil / dark=darkAqua / light=aqua"
expect_match "^  PASS  空启用序列返回 nil"
expect_no_match "FAIL"
expect_line "=== 展开/全览布局自测：全部通过 ==="
echo "layout mode ok"
