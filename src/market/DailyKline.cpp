#include "market/DailyKline.h"

#include "market/Endpoints.h"
#include "market/MarketAPI.h"
#include "market/SeriesFields.h"
#include "model/AppLog.h"
#include "model/AppPaths.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace glimmer::DailyKline {

namespace {

constexpr const char* sourceKey = "qq.fqkline";

bool isArrayOfArrays(const nlohmann::json& value) {
    return value.is_array() &&
           std::all_of(value.begin(), value.end(), [](const nlohmann::json& row) { return row.is_array(); });
}

const nlohmann::json* rowsOf(const nlohmann::json& entry) {
    for (const char* key : {"qfqday", "day"}) {
        const auto found = entry.find(key);
        if (found != entry.end() && isArrayOfArrays(*found)) return &*found;
    }
    return nullptr;
}

} // namespace

std::string tencentUrl(const std::string& symbol, int count) {
    return Endpoints::current().tencentChart + "/appstock/app/fqkline/get?param=" + SeriesFields::identifier(symbol) +
           ",day,,," + std::to_string(count) + ",qfq";
}

std::string sinaUrl(const std::string& symbol, int count) {
    return Endpoints::current().sinaQuotes +
           "/quotes_service/api/json_v2.php/CN_MarketData.getKLineData?symbol=" + SeriesFields::identifier(symbol) +
           "&scale=240&ma=no&datalen=" + std::to_string(count);
}

TencentReply parseTencent(std::string_view text, const std::string& symbol) {
    try {
        const auto document = SeriesFields::parseJson(text);
        if (!document.is_object()) return {};
        const auto data = document.find("data");
        if (data == document.end() || !data->is_object()) return {};
        const auto entry = data->find(symbol);
        if (entry == data->end() || !entry->is_object()) return {};
        TencentReply reply;
        reply.isUsable = true;
        const nlohmann::json* rows = rowsOf(*entry);
        if (!rows) return reply;
        reply.bars.reserve(rows->size());
        for (const auto& row : *rows) {
            if (row.size() < 6) continue;
            const auto open = MarketAPI::num(row[1]);
            const auto close = MarketAPI::num(row[2]);
            const auto high = MarketAPI::num(row[3]);
            const auto low = MarketAPI::num(row[4]);
            if (!open || !close || !high || !low) continue;
            DailyBar bar;
            if (row[0].is_string()) bar.date = row[0].get<std::string>();
            bar.open = *open;
            bar.close = *close;
            bar.high = *high;
            bar.low = *low;
            bar.volume = MarketAPI::num(row[5]).value_or(0);
            reply.bars.push_back(std::move(bar));
        }
        return reply;
    } catch (...) {
        return {};
    }
}

std::vector<DailyBar> parseSina(std::string_view text) {
    try {
        const auto document = SeriesFields::parseJson(text);
        if (!document.is_array()) return {};
        if (!std::all_of(document.begin(), document.end(), [](const auto& item) { return item.is_object(); })) {
            return {};
        }
        std::vector<DailyBar> bars;
        bars.reserve(document.size());
        const auto value = [](const nlohmann::json& item, const char* key) -> std::optional<double> {
            const auto found = item.find(key);
            return found == item.end() ? std::nullopt : MarketAPI::num(*found);
        };
        for (const auto& item : document) {
            const auto day = item.find("day");
            if (day == item.end() || !day->is_string()) continue;
            const auto open = value(item, "open");
            const auto close = value(item, "close");
            const auto high = value(item, "high");
            const auto low = value(item, "low");
            if (!open || !close || !high || !low) continue;
            DailyBar bar;
            bar.date = day->get<std::string>();
            bar.open = *open;
            bar.close = *close;
            bar.high = *high;
            bar.low = *low;
            bar.volume = value(item, "volume").value_or(0);
            bars.push_back(std::move(bar));
        }
        return bars;
    } catch (...) {
        return {};
    }
}

std::vector<DailyBar> fetchDailyTencent(const std::string& symbol, int count, const Clock& clock,
                                        SourceHealth& health, double timeout) {
    if (health.shouldSkip(sourceKey, clock.now())) return {};
    const auto body = MarketAPI::shared().httpGet(tencentUrl(symbol, count), Referers::tencent, timeout);
    const auto text = MarketAPI::decodeText(body);
    TencentReply reply = text ? parseTencent(*text, symbol) : TencentReply{};
    if (!reply.isUsable) {
        if (health.recordFailure(sourceKey, clock.now())) {
            SeriesFields::logCooldown("腾讯日K连续失败，冷却 ", " 秒，改走新浪");
        }
        return {};
    }
    // The source answered as expected, so it counts as healthy even when it had no rows.
    health.recordSuccess(sourceKey);
    return std::move(reply.bars);
}

std::vector<DailyBar> fetchDailySina(const std::string& symbol, int count, double timeout) {
    const auto body = MarketAPI::shared().httpGet(sinaUrl(symbol, count), Referers::sina, timeout);
    const auto text = MarketAPI::decodeText(body);
    return text ? parseSina(*text) : std::vector<DailyBar>{};
}

std::vector<DailyBar> fetchDaily(const std::string& symbol, int count, const Clock& clock, SourceHealth& health,
                                 double timeout) {
    if (!AppPaths::processEnv("GLIMMERBOX_FORCE_SINA_K")) {
        auto bars = fetchDailyTencent(symbol, count, clock, health, timeout);
        if (!bars.empty()) return bars;
    }
    auto bars = fetchDailySina(symbol, count, timeout);
    if (!bars.empty()) {
        AppLog::write("INFO", "日K降级新浪(不复权) " + symbol + " 根数=" + std::to_string(bars.size()));
    }
    return bars;
}

} // namespace glimmer::DailyKline
