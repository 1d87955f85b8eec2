#!/usr/bin/env bash
# The refresh-throttle diagnostic: gate cases, two real store passes and the cool-down report.
source "$(dirname "$0")/common.sh" "$1" "$2"

start_market
run_mode GLIMMERBOX_REFRESH_TEST=1
expect_line "=== 刷新分层节流诊断 ==="
for name in "从未拉过 → 必须拉" "刚拉完 1 秒 → 不拉" "14 秒前（TTL15）→ 不拉" "16 秒前（TTL15）→ 拉" \
    "100 秒前（TTL15）→ 拉"; do
    expect_line "  PASS  $name"
done
expect_line "TTL 门控断言：5 通过 / 0 失败"
expect_line "第一轮: 快照=3 分时=3 资金流=3 日K=3"
expect_line "第二轮: 快照=3 分时=0 资金流=0 日K=0"
expect_match "^当前 TTL: 分时=[0-9]+s 资金流=[0-9]+s（(交易时段|休市)）$"
expect_match "^估算每分钟请求（.*）: 快照=[0-9]+\.[0-9] 分时=[0-9]+\.[0-9] 资金流=[0-9]+\.[0-9]，合计 [0-9]+\.[0-9]$"
expect_line "✓ 分层节流生效（第二轮无重复请求）"
expect_line "冷却中的源: 无"
expect_line "=== 诊断结束 ==="

# Fund flow empty at both providers: the second pass asks again and the report says so.
stop_market
start_market --fault fflow=empty --fault fundflow=empty
run_mode GLIMMERBOX_REFRESH_TEST=1
expect_line "第二轮: 快照=3 分时=0 资金流=3 日K=0"
expect_line "!! 第二轮仍有重复请求（若报分时/资金流，多为东财被限流后数据为空，每轮都会重试）"

# Eastmoney refusing: its hosts cool down and are listed.
stop_market
start_market --fault trends=close --fault fflow=close
run_mode GLIMMERBOX_REFRESH_TEST=1
expect_match "^冷却中的源: .*em\.trends\..*"
expect_no_match "^冷却中的源: 无$"
expect_line "=== 诊断结束 ==="
echo "refresh trace ok"
