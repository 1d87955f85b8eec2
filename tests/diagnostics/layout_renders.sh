#!/usr/bin/env bash
# The overview and expand renders on Qt's offscreen platform.
source "$(dirname "$0")/common.sh" "$1" "$2"
unset DISPLAY WAYLAND_DISPLAY

start_market
run_mode GLIMMERBOX_RENDER_OVERVIEW=1
for view in 0 1 2 3 4; do expect_png "overview-view$view.png" 350x216; done
expect_png overview-header.png 376x242
expect_match "^已输出 overview-screen.png [0-9]+x975$"
size=$(identify -format '%wx%h' "$work/cwd/artifacts/overview-screen.png")
[ "${size#*x}" = 975 ] || fail "overview-screen.png is $size"
expect_line "全览预览渲染完成"
# The stage around the cards is the dark sRGB (0.16, 0.17, 0.19).
corner=$(convert "$work/cwd/artifacts/overview-screen.png" -crop 4x4+2+960 +repage -format '%[fx:round(mean.r*255)],%[fx:round(mean.g*255)],%[fx:round(mean.b*255)]' info:)
[ "$corner" = "41,43,48" ] || fail "stage colour is $corner"

rm -rf "$work/cwd/artifacts"
run_mode GLIMMERBOX_RENDER_EXPAND=1
expect_png sub1.png 350x150
expect_png sub2.png 350x150
expect_png sub4.png 350x130
expect_png sub3.png 350x200
expect_line "副图预览渲染完成"

rm -rf "$work/cwd/artifacts"
write_config '{"watchlist": [], "didImportHoldings": true}'
for mode in RENDER_OVERVIEW RENDER_EXPAND; do
    run_mode "GLIMMERBOX_$mode=1"
    expect_line "股票池为空，无法渲染"
done
[ ! -e "$work/cwd/artifacts" ] || fail "rendered an empty watch list"
echo "layout renders ok"
