#!/usr/bin/env bash
# The render modes on Qt's offscreen platform: every named PNG at its pixel size, the theme and
# opacity switches, and the messages when there is nothing to draw.
source "$(dirname "$0")/common.sh" "$1" "$2"
unset DISPLAY WAYLAND_DISPLAY

fresh() { rm -rf "$work/cwd/artifacts"; }

start_market
run_mode GLIMMERBOX_RENDER=1
for name in view0 view1 view2 view3 view4 view0-expanded dock-left; do expect_png "$name.png" 376x242; done
expect_line "预览渲染完成"
cp "$work/cwd/artifacts/view0.png" "$work/default.png"

fresh
run_mode GLIMMERBOX_RENDER_SETTINGS=1
expect_png settings.png 660x760
expect_count "^已输出 " 1

# A display at twice the density gives bitmaps of twice the pixels.
fresh
run_mode GLIMMERBOX_RENDER=1 QT_SCALE_FACTOR=2
expect_png view4.png 752x484
expect_png view0-expanded.png 752x484

# The forced appearance decides the card's colours.
fresh
run_mode GLIMMERBOX_RENDER=1 GLIMMERBOX_FORCE_THEME=dark
cp "$work/cwd/artifacts/view0.png" "$work/dark.png"
fresh
run_mode GLIMMERBOX_RENDER=1 GLIMMERBOX_FORCE_THEME=light
cp "$work/cwd/artifacts/view0.png" "$work/light.png"
card_area="300x150+40+60"
dark=$(convert "$work/dark.png" -crop "$card_area" +repage -alpha off -colorspace Gray -format '%[fx:mean]' info:)
light=$(convert "$work/light.png" -crop "$card_area" +repage -alpha off -colorspace Gray -format '%[fx:mean]' info:)
awk -v d="$dark" -v l="$light" 'BEGIN { exit !(d + 0.3 < l) }' || fail "dark card ($dark) not darker than light ($light)"
# Only the exact words count; anything else leaves the system appearance.
for value in Dark 1; do
    fresh
    run_mode GLIMMERBOX_RENDER=1 GLIMMERBOX_FORCE_THEME=$value
    differs=$(compare -metric AE "$work/cwd/artifacts/view0.png" "$work/default.png" null: 2>&1 || true)
    [ "${differs%% *}" = "0" ] || fail "GLIMMERBOX_FORCE_THEME=$value changed the render ($differs pixels)"
done

# The opacity switch moves the slider; a value that is not a number leaves the configured one.
slider_pixels() { convert "$1" -crop 26x242+0+0 +repage "$2"; }
fresh
run_mode GLIMMERBOX_RENDER=1 GLIMMERBOX_RENDER_OPACITY=0.95
slider_pixels "$work/cwd/artifacts/view0.png" "$work/high.png"
fresh
run_mode GLIMMERBOX_RENDER=1 GLIMMERBOX_RENDER_OPACITY=abc
slider_pixels "$work/cwd/artifacts/view0.png" "$work/junk.png"
slider_pixels "$work/default.png" "$work/configured.png"
changed=$(compare -metric AE "$work/high.png" "$work/configured.png" null: 2>&1 || true)
same=$(compare -metric AE "$work/junk.png" "$work/configured.png" null: 2>&1 || true)
[ "${changed%% *}" != "0" ] || fail "GLIMMERBOX_RENDER_OPACITY=0.95 left the slider unchanged"
[ "${same%% *}" = "0" ] || fail "GLIMMERBOX_RENDER_OPACITY=abc changed the slider ($same pixels)"

# A configured card size carries the gutter and the strip.
fresh
write_config '{"width": 400, "height": 250, "didImportHoldings": true,
  "watchlist": [{"code": "300750", "name": "宁德时代", "kind": "stock"}]}'
run_mode GLIMMERBOX_RENDER=1
expect_png view3.png 426x276
expect_png dock-left.png 426x276

# Nothing to draw.
fresh
stop_market
start_market --fault "*=status:503"
run_mode GLIMMERBOX_RENDER=1
expect_line "行情为空，无法渲染"
[ ! -e "$work/cwd/artifacts/view0.png" ] || fail "rendered without a quote"
write_config '{"watchlist": [], "didImportHoldings": true}'
run_mode GLIMMERBOX_RENDER=1
expect_line "股票池为空，无法渲染"
[ ! -e "$work/cwd/artifacts/view0.png" ] || fail "rendered an empty watch list"
echo "renders ok"
