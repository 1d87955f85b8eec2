#include "market/DailyKline.h"

#include "market/Endpoints.h"
#include "market/ReplyJson.h"
#include "market/ReplyText.h"
#include "market/SeriesFields.h"
#include "model/AppLog.h"

#include <array>

namespace glimmer::DailyKline {

namespace {

constexpr const char* sourceKey = "qq.fqkline";

bool isArrayOfArrays(const ReplyJson& json, const ReplyJson::Node* node) {
    if (!node || !node->isArray()) return false;
    for (const auto& row : json.children(*node)) {
        if (!row.isArray()) return false;
    }
    return true;
}

const ReplyJson::Node* rowsOf(const ReplyJson& json, const ReplyJson::Node& entry) {
    for (const char* key : {"qfqday", "day"}) {
        const ReplyJson::Node* rows = json.find(&entry, key);
        if (isArrayOfArrays(json, rows)) return rows;
    }
    return nullptr;
}

} // namespace

std::string tencentUrl(const Endpoints& endpoints, const std::string& symbol, int count) {
    return endpoints.tencentChart + "/appstock/app/fqkline/get?param=" + SeriesFields::identifier(symbol) + ",day,,," +
           std::to_string(count) + ",qfq";
}

std::string sinaUrl(const Endpoints& endpoints, const std::string& symbol, int count) {
    return endpoints.sinaQuotes +
           "/quotes_service/api/json_v2.php/CN_MarketData.getKLineData?symbol=" + SeriesFields::identifier(symbol) +
           "&scale=240&ma=no&datalen=" + std::to_string(count);
}

TencentReply parseTencent(std::string_view text, const std::string& symbol) {
    try {
        ReplyJson json;
        if (!json.parse(text)) return {};
        const ReplyJson::Node* data = json.find(json.root(), "data");
        if (!data || !data->isObject()) return {};
        const ReplyJson::Node* entry = json.find(data, symbol);
        if (!entry || !entry->isObject()) return {};
        TencentReply reply;
        reply.isUsable = true;
        const ReplyJson::Node* rows = rowsOf(json, *entry);
        if (!rows) return reply;
        reply.bars.reserve(rows->size);
        for (const auto& row : json.children(*rows)) {
            if (row.size < 6) continue;
            std::array<const ReplyJson::Node*, 6> cells{};
            std::size_t n = 0;
            for (const auto& cell : json.children(row)) {
                if (n == cells.size()) break;
                cells[n++] = &cell;
            }
            std::array<double, 4> prices{};
            bool isComplete = true;
            for (std::size_t i = 0; i < prices.size() && isComplete; ++i) {
                const auto value = ReplyJson::num(*cells[i + 1]);
                isComplete = value.has_value();
                prices[i] = value.value_or(0);
            }
            if (!isComplete) continue;
            DailyBar bar;
            if (cells[0]->isString()) bar.date = cells[0]->text;
            bar.open = prices[0];
            bar.close = prices[1];
            bar.high = prices[2];
            bar.low = prices[3];
            bar.volume = ReplyJson::num(*cells[5]).value_or(0);
            reply.bars.push_back(std::move(bar));
        }
        return reply;
    } catch (...) {
        return {};
    }
}

std::vector<DailyBar> parseSina(std::string_view text) {
    try {
        ReplyJson json;
        if (!json.parse(text) || !json.root()->isArray()) return {};
        for (const auto& item : json.children(*json.root())) {
            if (!item.isObject()) return {};
        }
        std::vector<DailyBar> bars;
        bars.reserve(json.root()->size);
        const auto value = [&json](const ReplyJson::Node& item, const char* key) -> std::optional<double> {
            const ReplyJson::Node* found = json.find(&item, key);
            return found ? ReplyJson::num(*found) : std::nullopt;
        };
        for (const auto& item : json.children(*json.root())) {
            const ReplyJson::Node* day = json.find(&item, "day");
            if (!day || !day->isString()) continue;
            const auto open = value(item, "open");
            const auto close = value(item, "close");
            const auto high = value(item, "high");
            const auto low = value(item, "low");
            if (!open || !close || !high || !low) continue;
            DailyBar bar;
            bar.date = day->text;
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

std::vector<DailyBar> fetchDailyTencent(const std::string& symbol, int count, const FetchContext& context,
                                        double timeout) {
    SourceHealth& health = context.health;
    const Clock& clock = context.clock;
    if (health.shouldSkip(sourceKey, clock.now())) return {};
    auto body = context.http.httpGet(tencentUrl(context.endpoints, symbol, count), Referers::tencent, timeout,
                                           ReplyLimit::dailyBars);
    const auto text = ReplyText::decode(std::move(body));
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

std::vector<DailyBar> fetchDailySina(const std::string& symbol, int count, const FetchContext& context,
                                     double timeout) {
    auto body =
        context.http.httpGet(sinaUrl(context.endpoints, symbol, count), Referers::sina, timeout, ReplyLimit::dailyBars);
    const auto text = ReplyText::decode(std::move(body));
    return text ? parseSina(*text) : std::vector<DailyBar>{};
}

std::vector<DailyBar> fetchDaily(const std::string& symbol, int count, const FetchContext& context, double timeout) {
    if (!context.switches.forceSinaDaily) {
        auto bars = fetchDailyTencent(symbol, count, context, timeout);
        if (!bars.empty()) return bars;
    }
    auto bars = fetchDailySina(symbol, count, context, timeout);
    if (!bars.empty()) {
        AppLog::write("INFO", "日K降级新浪(不复权) " + symbol + " 根数=" + std::to_string(bars.size()));
    }
    return bars;
}

} // namespace glimmer::DailyKline
