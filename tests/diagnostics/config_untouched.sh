#!/usr/bin/env bash
# The modes read the configuration and never write it: the file stays byte for byte the same.
source "$(dirname "$0")/common.sh" "$1" "$2"
unset DISPLAY WAYLAND_DISPLAY

start_market
# The first load seeds the file; the settings read from it show in the data check's header.
run_mode GLIMMERBOX_SELFTEST=1
config="$XDG_DATA_HOME/Glimmerbox/config.json"
sed -i -e 's/"refreshSeconds": 30/"refreshSeconds": 45/' "$config"
grep -q '"refreshSeconds": 45' "$config" || fail "could not edit the refresh interval"
run_mode GLIMMERBOX_SELFTEST=1
expect_line "刷新间隔: 45s  快捷键: Ctrl+Alt+F"
before=$(sha256sum "$config")
for mode in SELFTEST REFRESH_TEST RENDER RENDER_SETTINGS RENDER_OVERVIEW RENDER_EXPAND ALERT_TEST ROTATE_TEST \
    LAYOUT_TEST DOCK_TEST; do
    run_mode "GLIMMERBOX_$mode=1"
    [ "$(sha256sum "$config")" = "$before" ] || fail "GLIMMERBOX_$mode changed config.json"
done
leftovers=$(find "$XDG_DATA_HOME/Glimmerbox" -name 'config.json?*' | wc -l)
[ "$leftovers" -eq 0 ] || fail "backup or temporary configuration files left behind"

# The refresh diagnostic stops at an empty watch list.
write_config '{"watchlist": [], "didImportHoldings": true}'
run_mode GLIMMERBOX_REFRESH_TEST=1
expect_line "TTL 门控断言：5 通过 / 0 失败"
expect_line "!! 股票池为空"
expect_no_match "^第一轮"
echo "configuration untouched ok"
