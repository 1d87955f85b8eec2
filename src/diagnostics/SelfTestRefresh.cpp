#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestReport.h"
#include "market/MarketStore.h"
#include "model/ConfigStore.h"

#include <cmath>

namespace glimmer::SelfTest {

namespace {

using SelfTestReport::format;
using SelfTestReport::line;

std::string countsText(const RefreshCounts& counts) {
    return "快照=" + std::to_string(counts.batch) + " 分时=" + std::to_string(counts.minutes) +
           " 资金流=" + std::to_string(counts.flow) + " 日K=" + std::to_string(counts.daily);
}

/// Requests per minute of one series kind: a series is fetched again at the first pass on or after
/// its time-to-live, so the real period is the TTL rounded up to whole poll intervals.
double perMinute(double count, double ttl, double interval) {
    const double period = std::max(1.0, std::ceil(ttl / interval - 1e-9)) * interval;
    return count * 60.0 / period;
}

void gateCases() {
    CheckTally tally;
    const Instant now = Clock::system().now();
    const double ttl = 15;
    auto ago = [now](double seconds) {
        return std::optional<Instant>(
            now - std::chrono::duration_cast<Instant::duration>(std::chrono::duration<double>(seconds)));
    };
    tally.check(MarketStore::isDue(std::nullopt, true, now, ttl), "从未拉过 → 必须拉");
    tally.check(!MarketStore::isDue(ago(1), false, now, ttl), "刚拉完 1 秒 → 不拉");
    tally.check(!MarketStore::isDue(ago(14), false, now, ttl), "14 秒前（TTL15）→ 不拉");
    tally.check(MarketStore::isDue(ago(16), false, now, ttl), "16 秒前（TTL15）→ 拉");
    tally.check(MarketStore::isDue(ago(100), false, now, ttl), "100 秒前（TTL15）→ 拉");
    line("TTL 门控断言：" + std::to_string(tally.passed()) + " 通过 / " + std::to_string(tally.failed()) + " 失败");
}

} // namespace

void runRefreshTrace() {
    line("=== 刷新分层节流诊断 ===");
    gateCases();

    const AppConfig config = ConfigStore::load();
    if (config.watchlist.empty()) {
        line("!! 股票池为空");
        line("=== 诊断结束 ===");
        return;
    }
    PostedTasks mainTasks; // nothing listens: the passes are read from their counts
    MarketStore store(config, mainTasks.poster(), fetchContext());
    const RefreshCounts first = store.refreshSynchronouslyForDiagnostics();
    line("第一轮: " + countsText(first));
    const RefreshCounts second = store.refreshSynchronouslyForDiagnostics();
    line("第二轮: " + countsText(second));

    // The state the two passes found decides the rate and the TTLs in force.
    const MarketPhase phase = store.phase();
    line("交易日状态: " + TradingDay::describe(phase, store.tradingDay()));
    const bool trading = TradingDay::usesTradingTTLs(phase);
    const double r = config.refreshSeconds;
    const double minutesTtl = MarketStore::minutesTTL(r, trading);
    const double flowTtl = MarketStore::flowTTL(r, trading);
    line("当前 TTL: 分时=" + format("%.0fs", minutesTtl) + " 资金流=" + format("%.0fs", flowTtl) +
         (trading ? "（交易时段）" : "（休市）"));

    const bool fast = TradingDay::pollsFast(phase);
    const double interval = fast ? MarketStore::pollInterval(r) : MarketStore::offHoursInterval;
    const double securities = static_cast<double>(config.watchlist.size());
    const double snapshots = std::ceil(securities / 60.0) * 60.0 / interval;
    const double minutes = perMinute(securities, minutesTtl, interval);
    const double flows = perMinute(securities, flowTtl, interval);
    const char* period = fast ? "交易时段" : (phase == MarketPhase::LunchBreak ? "午休" : "休市");
    const std::string when = format("%s 每 %.0fs 一轮", period, interval);
    line(format("估算每分钟请求（%s）: 快照=%.1f 分时=%.1f 资金流=%.1f，合计 %.1f", when.c_str(), snapshots, minutes,
                flows, snapshots + minutes + flows));

    if (second.minutes == 0 && second.flow == 0 && second.daily == 0) {
        line("✓ 分层节流生效（第二轮无重复请求）");
    } else {
        line("!! 第二轮仍有重复请求（若报分时/资金流，多为东财被限流后数据为空，每轮都会重试）");
    }

    const std::vector<std::string> cooling = fetchContext().health.coolingKeys(Clock::system().now());
    std::string keys;
    for (std::size_t i = 0; i < cooling.size(); ++i) keys += (i ? ", " : "") + cooling[i];
    line("冷却中的源: " + (cooling.empty() ? std::string("无") : keys));
    store.stop();
    line("=== 诊断结束 ===");
}

} // namespace glimmer::SelfTest
