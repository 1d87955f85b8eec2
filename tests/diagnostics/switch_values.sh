#!/usr/bin/env bash
# A switch is on only for the exact value "1", and the first switch that is on wins.
source "$(dirname "$0")/common.sh"
unset DISPLAY WAYLAND_DISPLAY

# Earlier switches set to look-alike values are passed over; the dock test (last in order) runs.
run_mode GLIMMERBOX_SELFTEST=true GLIMMERBOX_RENDER=01 GLIMMERBOX_ALERT_TEST=" 1" \
    GLIMMERBOX_ROTATE_TEST=yes GLIMMERBOX_LAYOUT_TEST=1.0 GLIMMERBOX_DOCK_TEST=1
expect_line "=== 吸附几何自测：15 通过 / 0 失败 ==="
expect_no_match "预警自测|轮播自测|数据链路|已输出"
[ ! -e "$work/cwd/artifacts" ] || fail "a render ran"

# Two switches on: the earlier one in the order runs alone.
run_mode GLIMMERBOX_DOCK_TEST=1 GLIMMERBOX_ALERT_TEST=1
expect_line "=== 预警自测：11 通过 / 0 失败 ==="
expect_no_match "吸附几何自测"
echo "switch values ok"
