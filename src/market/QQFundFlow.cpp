#include "market/QQFundFlow.h"

#include "market/Endpoints.h"
#include "market/MarketAPI.h"
#include "market/SeriesFields.h"
#include "model/TextFormat.h"

#include <nlohmann/json.hpp>

namespace glimmer::QQFundFlow {

namespace {

constexpr const char* sourceKey = "qq.fundflow";

const nlohmann::json* member(const nlohmann::json& object, const char* key) {
    if (!object.is_object()) return nullptr;
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

double inflow(const nlohmann::json& item, const char* key) {
    const nlohmann::json* value = member(item, key);
    return value ? MarketAPI::num(*value).value_or(0) : 0;
}

} // namespace

std::string url(const std::string& symbol) {
    return Endpoints::current().tencentFinance + "/cgi/cgi-bin/fundflow/hsfundtab?code=" +
           SeriesFields::identifier(symbol) + "&type=todayFundTrend";
}

std::vector<FlowPoint> parseMinutes(const nlohmann::json& json) {
    try {
        const nlohmann::json* list = member(json, "data");
        if (list) list = member(*list, "todayFundTrend");
        if (list) list = member(*list, "minList");
        if (!list || !list->is_array()) return {};
        std::vector<FlowPoint> points;
        points.reserve(list->size());
        for (const auto& item : *list) {
            const nlohmann::json* stamp = member(item, "time");
            if (!stamp || !stamp->is_string()) continue;
            const std::string& text = stamp->get_ref<const std::string&>();
            if (TextFormat::utf8Length(text) < 12) continue;
            FlowPoint point;
            point.time.reserve(5);
            point.time += SeriesFields::characters(text, 8, 2);
            point.time += ':';
            point.time += SeriesFields::characters(text, 10, 2);
            if (!SeriesFields::isSessionMinute(point.time)) continue;
            point.main = inflow(item, "MainNetInflow");
            point.retail = inflow(item, "SmallNetInflow");
            points.push_back(std::move(point));
        }
        return points;
    } catch (...) {
        return {};
    }
}

std::vector<FlowPoint> fetchFlowQQ(const std::string& symbol, const Clock& clock, SourceHealth& health,
                                   double timeout) {
    if (health.shouldSkip(sourceKey, clock.now())) return {};
    const auto body = MarketAPI::shared().httpGet(url(symbol), Referers::tencent, timeout);
    const auto text = MarketAPI::decodeText(body);
    const nlohmann::json document = text ? SeriesFields::parseJson(*text) : nlohmann::json();
    if (!document.is_object()) {
        if (health.recordFailure(sourceKey, clock.now())) SeriesFields::logCooldown("腾讯资金流不可用，冷却 ", " 秒");
        return {};
    }
    auto points = parseMinutes(document);
    if (points.empty()) {
        health.recordFailure(sourceKey, clock.now());
        return {};
    }
    health.recordSuccess(sourceKey);
    return points;
}

} // namespace glimmer::QQFundFlow
