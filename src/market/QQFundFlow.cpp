#include "market/QQFundFlow.h"

#include "market/Endpoints.h"
#include "market/SeriesFields.h"
#include "model/TextFormat.h"

namespace glimmer::QQFundFlow {

namespace {

constexpr const char* sourceKey = "qq.fundflow";

double inflow(const ReplyJson& json, const ReplyJson::Node& item, const char* key) {
    const ReplyJson::Node* value = json.find(&item, key);
    return value ? ReplyJson::num(*value).value_or(0) : 0;
}

} // namespace

std::string url(const std::string& origin, const std::string& symbol) {
    return origin + "/cgi/cgi-bin/fundflow/hsfundtab?code=" + SeriesFields::identifier(symbol) + "&type=todayFundTrend";
}

std::vector<FlowPoint> parseMinutes(const ReplyJson& json) {
    try {
        const ReplyJson::Node* list = json.find(json.find(json.find(json.root(), "data"), "todayFundTrend"), "minList");
        if (!list || !list->isArray()) return {};
        std::vector<FlowPoint> points;
        points.reserve(list->size);
        for (const auto& item : json.children(*list)) {
            const ReplyJson::Node* stamp = json.find(&item, "time");
            if (!stamp || !stamp->isString()) continue;
            const std::string_view text = stamp->text;
            if (TextFormat::utf8Length(text) < 12) continue;
            FlowPoint point;
            point.time.reserve(5);
            point.time += SeriesFields::characters(text, 8, 2);
            point.time += ':';
            point.time += SeriesFields::characters(text, 10, 2);
            if (!SeriesFields::isSessionMinute(point.time)) continue;
            point.main = inflow(json, item, "MainNetInflow");
            point.retail = inflow(json, item, "SmallNetInflow");
            points.push_back(std::move(point));
        }
        return points;
    } catch (...) {
        return {};
    }
}

std::vector<FlowPoint> fetchFlowQQ(const std::string& symbol, const FetchContext& context, double timeout) {
    std::string text;
    ReplyJson document;
    if (!SeriesFields::fetchObject(context, sourceKey, url(context.endpoints.tencentFinance, symbol),
                                   ReplyLimit::fundFlow, timeout, "腾讯资金流不可用，冷却 ", text, document)) {
        return {};
    }
    auto points = parseMinutes(document);
    if (points.empty()) {
        context.health.recordFailure(sourceKey, context.clock.now());
        return {};
    }
    context.health.recordSuccess(sourceKey);
    return points;
}

} // namespace glimmer::QQFundFlow
