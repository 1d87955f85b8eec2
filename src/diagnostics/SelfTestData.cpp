#include "card/ChartKit.h"
#include "card/Theme.h"
#include "diagnostics/SelfTest.h"
#include "diagnostics/SelfTestReport.h"
#include "market/Endpoints.h"
#include "market/MarketSource.h"
#include "market/QQFundFlow.h"
#include "market/QQIntraday.h"
#include "market/SecID.h"
#include "market/SymbolSearch.h"
#include "model/AppPaths.h"
#include "model/ConfigStore.h"
#include "model/HotKeyKeys.h"
#include "model/Indicators.h"
#include "model/TextFormat.h"

#include <cmath>

namespace glimmer::SelfTest {

namespace {

using SelfTestReport::format;
using SelfTestReport::line;

std::string price(double value) {
    return ChartKit::px(value, ChartKit::priceDecimals(value)).toStdString();
}

std::string flowText(double amount) {
    return Theme::flowString(amount).toStdString();
}

std::string joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) text += (i ? separator : "") + parts[i];
    return text;
}

std::string hitText(const SymbolHit& hit) {
    return hit.code + " " + hit.name + " " + (hit.kind == InstrumentKind::etf ? "ETF" : "股票");
}

/// The quote and the first and last minute of one intraday snapshot.
void printIntraday(const IntradaySnapshot& snapshot, const std::string& volumeUnit) {
    const Quote& q = snapshot.quote;
    line("  名称=" + q.name + " 现价=" + price(q.price) + " 昨收=" + price(q.prevClose) +
         format(" 涨跌=%+.2f（%+.2f%%）", q.change(), q.changePercent()));
    line("  开=" + price(q.open) + " 高=" + price(q.high) + " 低=" + price(q.low) + format(" 量=%.0f", q.volume) +
         volumeUnit + " 额=" + flowText(q.amount));
    line("  分时点数=" + std::to_string(snapshot.minutes.size()));
    if (snapshot.minutes.empty()) return;
    const MinuteBar& first = snapshot.minutes.front();
    const MinuteBar& last = snapshot.minutes.back();
    line("  首点 " + first.time + " " + price(first.price) + " 均价" + format("%.3f", first.avg) + "  末点 " +
         last.time + " " + price(last.price) + " 均价" + format("%.3f", last.avg));
}

void printFlowPoint(const std::string& label, const FlowPoint& point) {
    line("  " + label + " " + point.time + " 主力=" + flowText(point.main) + " 散户=" + flowText(point.retail) +
         " 剪刀差=" + flowText(point.main - point.retail));
}

void snapshotSection(const AppConfig& config, const MarketSource& source) {
    const std::vector<WatchItem>& items = config.watchlist;
    line("\n--- 批量快照（腾讯 " + Endpoints::hostKey(fetchContext().endpoints.tencentSnapshot) + "，一次 " +
         std::to_string(items.size()) + " 只）---");
    const std::map<std::string, Quote> quotes = source.fetchQuotesBatch(items);
    if (quotes.empty()) {
        line("!! 批量快照为空（应回退逐只拉分时）");
        return;
    }
    std::vector<std::string> mismatches;
    int compared = 0;
    for (const WatchItem& item : items) {
        const auto found = quotes.find(item.code);
        if (found == quotes.end()) {
            line("  " + item.code + " " + item.name + " 缺快照");
            continue;
        }
        const Quote& q = found->second;
        line("  " + item.code + " " + displayName(&q, item) + " 现价=" + price(q.price) +
             format(" %+.2f%% 成交额=%.0f万", q.changePercent(), q.amount / 10'000));
        const auto intraday = source.fetchIntraday(SecID::secid(item.code), item.code, item.name);
        if (!intraday || intraday->minutes.empty()) continue;
        ++compared;
        const double last = intraday->minutes.back().price;
        if (std::fabs(q.price - last) > 0.005) {
            mismatches.push_back("  ✗ 与分时差 " + format("%.3f", q.price - last) + "  " + item.code + " 快照=" +
                                 price(q.price) + " 分时末价=" + price(last));
        }
    }
    line("  对比分时 " + std::to_string(compared) + " 只，价格不一致 " + std::to_string(mismatches.size()) + " 只");
    for (const std::string& text : mismatches) line(text);
}

void searchSection() {
    line("\n--- 联想搜索（代码 / 中文 / 拼音）---");
    for (const char* query : {"600519", "茅台", "gzmt", "510300"}) {
        const std::vector<SymbolHit> hits = SymbolSearch::search(query, 8, fetchContext());
        std::vector<std::string> shown;
        for (std::size_t i = 0; i < hits.size() && i < 3; ++i) shown.push_back(hitText(hits[i]));
        line(std::string("  ") + query + " → " + std::to_string(hits.size()) + " 条: " + joined(shown, " | "));
    }
}

void dailySection(const WatchItem& item, const MarketSource& source) {
    line("\n--- 前复权日K ---");
    const std::vector<DailyBar> bars = source.fetchDaily(SecID::tencentSymbol(item.code), 320);
    if (bars.empty()) {
        line("!! 日K为空");
        return;
    }
    const DailyBar& last = bars.back();
    line("  根数=" + std::to_string(bars.size()) + " 区间=" + bars.front().date + " ~ " + last.date);
    line("  最新 " + last.date + " O" + price(last.open) + " H" + price(last.high) + " L" + price(last.low) + " C" +
         price(last.close));
    std::vector<double> closes;
    closes.reserve(bars.size());
    for (const DailyBar& bar : bars) closes.push_back(bar.close);
    for (const int period : {5, 10, 20, 60}) {
        const auto averages = Indicators::ma(closes, period);
        const bool known = !averages.empty() && averages.back().has_value();
        line("  MA" + std::to_string(period) + " = " + (known ? format("%.3f", *averages.back()) : "数据不足"));
    }
    int broken = 0;
    for (const DailyBar& bar : bars) {
        const bool highOk = bar.high >= bar.open && bar.high >= bar.close && bar.high >= bar.low;
        const bool lowOk = bar.low <= bar.open && bar.low <= bar.close && bar.low <= bar.high;
        if (!highOk || !lowOk) ++broken;
    }
    line("  OHLC 合法性异常根数 = " + std::to_string(broken) + " / " + std::to_string(bars.size()));
}

} // namespace

void run() {
    const AppConfig config = ConfigStore::load();
    line("=== Glimmerbox 数据链路自检 ===");
    line("配置路径: " + AppPaths::configFile().string());
    std::vector<std::string> codes;
    for (const WatchItem& item : config.watchlist) codes.push_back(item.code);
    line("股票池: " + joined(codes, ", "));
    line("刷新间隔: " + TextFormat::shortest(config.refreshSeconds) +
         "s  快捷键: " + HotKeyKeys::displayName(config.hotkey.keyCode, config.hotkey.modifiers));
    if (config.watchlist.empty()) {
        line("!! 股票池为空");
        return;
    }
    const MarketSource source = MarketSource::live(fetchContext());
    snapshotSection(config, source);
    searchSection();

    const WatchItem& item = config.watchlist.front();
    const std::string secid = SecID::secid(item.code);
    const std::string symbol = SecID::tencentSymbol(item.code);
    line("\n--- 分时（东财 trends2，" + item.code + "）---");
    const auto eastmoney = source.fetchIntraday(secid, item.code, item.name);
    if (eastmoney) {
        printIntraday(*eastmoney, "");
    } else {
        line("!! 分时获取失败");
    }

    line("\n--- 分时兜底（腾讯 minute）---");
    const auto tencent = QQIntraday::fetchIntradayQQ(symbol, item.code, item.name, fetchContext());
    if (tencent) {
        printIntraday(*tencent, "手");
    } else {
        line("!! 腾讯分时获取失败");
    }
    if (eastmoney && tencent && !eastmoney->minutes.empty() && !tencent->minutes.empty()) {
        const MinuteBar& a = eastmoney->minutes.back();
        const MinuteBar& b = tencent->minutes.back();
        line(format("  与东财比 收盘 %.2f/%.2f  均价 %.3f/%.3f", a.price, b.price, a.avg, b.avg));
        const double gap = a.price > 0 ? std::fabs(b.price - a.price) / a.price * 100 : 100;
        line(gap <= 0.5 ? std::string("  ✓ 收盘价一致") : format("  !! 收盘价差 %.2f%%", gap));
    }

    line("\n--- 分钟资金流 ---");
    const std::vector<FlowPoint> flow = source.fetchFlow(secid, symbol);
    if (flow.empty()) {
        line("!! 资金流为空（ETF 可能无此数据）");
    } else {
        line("  点数=" + std::to_string(flow.size()));
        printFlowPoint("首点", flow.front());
        printFlowPoint("末点", flow.back());
    }

    line("\n--- 资金流兜底（腾讯 hsfundtab）---");
    const std::vector<FlowPoint> qqFlow = QQFundFlow::fetchFlowQQ(symbol, fetchContext());
    if (qqFlow.empty()) {
        line("!! 腾讯资金流为空");
    } else {
        const FlowPoint& last = qqFlow.back();
        line("  点数=" + std::to_string(qqFlow.size()));
        line("  末点 主力=" + flowText(last.main) + " 散户=" + flowText(last.retail) + " 剪刀差=" +
             flowText(last.main - last.retail));
        if (!flow.empty()) {
            const double ours = flow.back().main;
            const double gap = ours != 0 ? std::fabs(last.main - ours) / std::fabs(ours) * 100
                                         : (last.main == 0 ? 0.0 : 100.0);
            line(format("  与东财主力末值差异 %.1f%%（东财 ", gap) + flowText(ours) + " / 腾讯 " + flowText(last.main) +
                 "）");
            line(gap <= 15 ? "  ✓ 兜底口径可接受" : "  !! 差异超过 15%，需复核字段含义");
        }
    }

    dailySection(item, source);

    line("\n--- MACD(1min) ---");
    const std::vector<MinuteBar>& minutes =
        eastmoney && !eastmoney->minutes.empty() ? eastmoney->minutes
                                                  : (tencent ? tencent->minutes : std::vector<MinuteBar>{});
    if (minutes.empty()) {
        line("!! 分时为空，无法计算 MACD");
    } else {
        std::vector<double> closes;
        closes.reserve(minutes.size());
        for (const MinuteBar& bar : minutes) closes.push_back(bar.price);
        const MACDResult result = Indicators::macd(closes, 12, 26, 9);
        line(format("  DIF=%.4f DEA=%.4f HIST=%.4f", result.dif.back(), result.dea.back(), result.hist.back()));
    }
    line("=== 自检结束 ===");
}

} // namespace glimmer::SelfTest
