#!/usr/bin/env bash
# The self-contained check modes report every check and end with zero failures.
source "$(dirname "$0")/common.sh"
unset DISPLAY WAYLAND_DISPLAY

run_mode GLIMMERBOX_ALERT_TEST=1
for name in 跌破价格首次触发 跌破价格不重复触发 价格回升后再次跌破可触发 涨到价格触发 快涨触发 快跌触发 \
    剪刀差触发 主力持续下降触发 回踩均线触发 冷却期内同类预警只触发一次 平静行情不误报; do
    expect_line "  PASS  $name"
done
expect_line "=== 预警自测：11 通过 / 0 失败 ==="

run_mode GLIMMERBOX_ROTATE_TEST=1
expect_line "  PASS  启用[0,1,3] 0 → 1"
expect_line "  PASS  全选 2 → 3"
expect_line "  PASS  默认全选 4(量能) → 3(日K)"
expect_line "  PASS  只启用一个 → nil"
expect_line "  PASS  点白点循环 最后一 → 第一"
expect_no_match "FAIL"
expect_line "=== 轮播自测：10 通过 / 0 失败 ==="

run_mode GLIMMERBOX_DOCK_TEST=1
expect_match "^  PASS  .*  leftGap=30 rightGap=70 side=left$"
expect_match "^  PASS  clampedFrame .*  origin=\(0, 0\)$"
expect_no_match "FAIL"
expect_line "=== 吸附几何自测：15 通过 / 0 失败 ==="

echo "counted modes ok"
