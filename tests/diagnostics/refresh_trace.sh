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
expect_match "^交易日状态: (开市|午休|休市（数据日期 2024-11-08）)$"
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

# The exchange day the passes found, with the program's clock on that Friday (libfaketime).
faketime_lib=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
if [ -f "$faketime_lib" ]; then
    run_at() {
        run_mode GLIMMERBOX_REFRESH_TEST=1 LD_PRELOAD="$faketime_lib" FAKETIME="@$1" FAKETIME_DONT_FAKE_MONOTONIC=1 TZ=UTC
    }
    stop_market
    start_market
    run_at "2024-11-08 02:40:00" # 10:40 in Shanghai
    expect_line "交易日状态: 开市"
    expect_line "当前 TTL: 分时=60s 资金流=120s（交易时段）"
    run_at "2024-11-08 04:00:00"
    expect_line "交易日状态: 午休"
    expect_match "^估算每分钟请求（午休 每 300s 一轮）"
    stop_market
    start_market --holiday 2024-11-08
    run_at "2024-11-08 02:40:00"
    expect_match "INFO 今日休市（行情日期停在 2024-11-07），改为每 5 分钟刷新$"
    expect_line "交易日状态: 休市（数据日期 2024-11-07）"
    expect_line "当前 TTL: 分时=600s 资金流=600s（休市）"
else
    echo "libfaketime not installed: the exchange-day states at fixed times are not checked"
fi
echo "refresh trace ok"
