#!/usr/bin/env bash
# The data-chain check against the simulated market, healthy and with Eastmoney failing.
source "$(dirname "$0")/common.sh" "$1" "$2"
source "$(dirname "$0")/../support/comma_locale.sh"

# Under a locale that writes numbers with a decimal comma, the report's figures keep their point.
comma_locale "$work/locale"
start_market
run_mode GLIMMERBOX_SELFTEST=1 LOCPATH="$work/locale" LC_ALL=de_DE.UTF-8
expect_line "=== Glimmerbox 数据链路自检 ==="
expect_line "配置路径: $XDG_DATA_HOME/Glimmerbox/config.json"
expect_line "股票池: 600519, 300750, 510300"
expect_line "刷新间隔: 30s  快捷键: Ctrl+Alt+F"
expect_match "^--- 批量快照（.*一次 3 只）---$"
expect_match "^  600519 贵州茅台 现价=[0-9]+\.[0-9]{2} [+-][0-9]+\.[0-9]{2}% 成交额=[0-9]+万$"
expect_match "^  510300 沪深300ETF 现价=[0-9]+\.[0-9]{3} "
expect_line "  对比分时 3 只，价格不一致 0 只"
expect_line "--- 联想搜索（代码 / 中文 / 拼音）---"
expect_match "^  茅台 → [1-8] 条: 600519 贵州茅台 股票"
expect_match "^  gzmt → [1-8] 条: 600519 贵州茅台 股票"
expect_match "^  510300 → [1-8] 条: 510300 沪深300ETF ETF"
expect_line "--- 分时兜底（腾讯 minute）---"
expect_count "^  名称=贵州茅台 现价=" 2
expect_count "^  分时点数=61$" 2
expect_match "^  开=.* 量=[0-9]+手 额="
expect_match "^  与东财比 收盘 ([0-9.]+)/\1  均价 "
expect_line "  ✓ 收盘价一致"
expect_line "--- 分钟资金流 ---"
expect_match "^  末点 10:30 主力=.* 散户=.* 剪刀差="
expect_line "--- 资金流兜底（腾讯 hsfundtab）---"
expect_line "  ✓ 兜底口径可接受"
expect_line "--- 前复权日K ---"
expect_match "^  根数=320 区间=[0-9-]{10} ~ 2024-11-08$"
expect_match "^  MA60 = [0-9]+\.[0-9]{3}$"
expect_line "  OHLC 合法性异常根数 = 0 / 320"
expect_line "--- MACD(1min) ---"
expect_match "^  DIF=-?[0-9]+\.[0-9]{4} DEA=-?[0-9]+\.[0-9]{4} HIST=-?[0-9]+\.[0-9]{4}$"
expect_line "=== 自检结束 ==="
expect_no_match "^!!"
# The sections come in their fixed order, each after an empty line.
order=$(grep -B1 '^--- ' "$work/out.txt" | grep -v '^--$' | sed 's/（.*）---$//' | tr '\n' '|')
[ "$order" = "|--- 批量快照||--- 联想搜索||--- 分时||--- 分时兜底||--- 分钟资金流 ---||--- 资金流兜底||--- 前复权日K ---||--- MACD(1min) ---|" ] \
    || fail "section order: $order"
[ -f "$XDG_DATA_HOME/Glimmerbox/config.json" ] || fail "configuration not loaded"

# A snapshot that disagrees with the minute series is counted and shown.
sim_post /_sim/script '{"code": "600519", "prices": [1500, 1530, 1560]}'
run_mode GLIMMERBOX_SELFTEST=1
expect_match "^  600519 贵州茅台 现价=1500.00 "
expect_line "  对比分时 3 只，价格不一致 1 只"
expect_match "^  ✗ 与分时差 -?[0-9]+\.[0-9]{3}  600519 快照=1500.00 分时末价="
expect_count "^  ✗ 与分时差 " 1

# Eastmoney closes every connection: minutes and fund flow still arrive through Tencent.
stop_market
start_market --fault trends=close --fault fflow=close
run_mode GLIMMERBOX_SELFTEST=1
expect_count "^  分时点数=61$" 2
expect_line "  ✓ 收盘价一致"
expect_match "^  末点 10:30 主力="
expect_line "=== 自检结束 ==="
expect_no_match "^!! (分时获取失败|腾讯分时获取失败|资金流为空)"

# Every source down: each section reports its failure and the check still ends.
stop_market
start_market --fault "*=status:503"
run_mode GLIMMERBOX_SELFTEST=1
expect_line "!! 批量快照为空（应回退逐只拉分时）"
expect_line "!! 分时获取失败"
expect_line "!! 腾讯分时获取失败"
expect_line "!! 资金流为空（ETF 可能无此数据）"
expect_line "!! 腾讯资金流为空"
expect_line "!! 日K为空"
expect_line "=== 自检结束 ==="

# An empty watch list stops the check after the header.
write_config '{"watchlist": [], "didImportHoldings": true}'
run_mode GLIMMERBOX_SELFTEST=1
expect_line "股票池: "
expect_line "!! 股票池为空"
expect_no_match "^--- "
echo "data chain ok"
