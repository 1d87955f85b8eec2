#include "market/EastmoneyFlow.h"

#include "market/Endpoints.h"
#include "market/QQFundFlow.h"
#include "market/ReplyJson.h"
#include "market/ReplyText.h"
#include "market/SeriesFields.h"

#include <array>

namespace glimmer::EastmoneyFlow {

std::vector<std::string> hosts(const Endpoints& endpoints) {
    return {endpoints.eastmoneyMain, endpoints.eastmoneyHistory, endpoints.eastmoneyDelayed};
}

std::string url(const std::string& origin, const std::string& secid) {
    return origin + "/api/qt/stock/fflow/kline/get?lmt=0&klt=1&secid=" + SeriesFields::identifier(secid) +
           "&fields1=f1,f2,f3,f7&fields2=f51,f52,f53,f54,f55,f56";
}

Reply parse(std::string_view text) {
    try {
        ReplyJson json;
        if (!json.parse(text)) return {};
        const ReplyJson::Node* data = json.find(json.root(), "data");
        if (!data || !data->isObject()) return {};
        const ReplyJson::Node* klines = json.find(data, "klines");
        if (!json.isArrayOfStrings(klines) || klines->size == 0) return {};
        Reply reply;
        reply.isUsable = true;
        reply.points.reserve(klines->size);
        for (const auto& item : json.children(*klines)) {
            std::array<std::string_view, 3> pieces;
            if (SeriesFields::split(item.text, ',', pieces) < pieces.size()) continue;
            FlowPoint point;
            point.time = SeriesFields::lastCharacters(pieces[0], 5);
            point.main = ReplyText::number(pieces[1]).value_or(0);
            point.retail = ReplyText::number(pieces[2]).value_or(0);
            reply.points.push_back(std::move(point));
        }
        return reply;
    } catch (...) {
        return {};
    }
}

std::vector<FlowPoint> fetchFlow(const std::string& secid, const std::string& symbol, const FetchContext& context,
                                 double timeout) {
    if (context.switches.forceQQFlow) return QQFundFlow::fetchFlowQQ(symbol, context, timeout);
    SourceHealth& health = context.health;
    const Clock& clock = context.clock;
    for (const std::string& origin : hosts(context.endpoints)) {
        const std::string key = "em.flow." + Endpoints::hostKey(origin);
        if (health.shouldSkip(key, clock.now())) continue;
        auto body =
            context.http.httpGet(url(origin, secid), Referers::eastmoneyData, timeout, ReplyLimit::fundFlow);
        const auto text = ReplyText::decode(std::move(body));
        Reply reply = text ? parse(*text) : Reply{};
        if (!reply.isUsable) {
            health.recordFailure(key, clock.now());
            continue;
        }
        health.recordSuccess(key);
        if (!reply.points.empty()) return std::move(reply.points);
    }
    return QQFundFlow::fetchFlowQQ(symbol, context, timeout);
}

} // namespace glimmer::EastmoneyFlow
