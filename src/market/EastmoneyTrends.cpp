#include "market/EastmoneyTrends.h"

#include "market/Endpoints.h"
#include "market/QQIntraday.h"
#include "market/ReplyJson.h"
#include "market/ReplyText.h"
#include "market/SecID.h"
#include "market/SeriesFields.h"
#include "model/TextFormat.h"

#include <array>
#include <cmath>
#include <limits>

namespace glimmer::EastmoneyTrends {

namespace {

std::optional<IntradaySnapshot> buildSnapshot(const ReplyJson& json, const ReplyJson::Node& data,
                                              const ReplyJson::Node& trends, const std::string& code,
                                              const std::string& fallbackName, Instant now) {
    IntradaySnapshot snapshot;
    snapshot.minutes.reserve(trends.size);
    double firstOpen = 0;
    double high = -std::numeric_limits<double>::infinity();
    double low = std::numeric_limits<double>::infinity();
    double volumeSum = 0;
    double amountSum = 0;
    for (const auto& item : json.children(trends)) {
        const std::string_view line = item.text;
        std::array<std::string_view, 8> pieces;
        if (SeriesFields::split(line, ',', pieces) < pieces.size()) continue;
        const auto close = ReplyText::number(pieces[2]);
        if (!close) continue;
        MinuteBar bar;
        bar.time = SeriesFields::lastCharacters(pieces[0], 5);
        bar.price = *close;
        bar.avg = ReplyText::number(pieces[7]).value_or(*close);
        // A negative volume is no trade count; it would draw below the volume chart's baseline.
        bar.volume = std::max(0.0, ReplyText::number(pieces[5]).value_or(0));
        bar.amount = ReplyText::number(pieces[6]).value_or(0);
        if (snapshot.minutes.empty()) firstOpen = ReplyText::number(pieces[1]).value_or(*close);
        high = std::max(high, ReplyText::number(pieces[3]).value_or(*close));
        low = std::min(low, ReplyText::number(pieces[4]).value_or(*close));
        volumeSum += bar.volume;
        amountSum += bar.amount;
        snapshot.minutes.push_back(std::move(bar));
    }
    if (snapshot.minutes.empty()) return std::nullopt;

    const ReplyJson::Node* name = json.find(&data, "name");
    const ReplyJson::Node* preClose = json.find(&data, "preClose");
    double previousClose = 0;
    if (preClose && preClose->kind == ReplyJson::Kind::number) previousClose = preClose->number;

    Quote& quote = snapshot.quote;
    quote.code = code;
    quote.name = name && name->isString() ? std::string(name->text) : fallbackName;
    quote.price = snapshot.minutes.back().price;
    quote.prevClose = previousClose > 0 && std::isfinite(previousClose) ? previousClose : firstOpen;
    quote.open = firstOpen;
    quote.high = high;
    quote.low = low;
    quote.volume = volumeSum;
    quote.amount = amountSum;
    quote.tradeDate = TextFormat::utf8Prefix((*json.children(trends).begin()).text, 10);
    quote.quoteTime = snapshot.minutes.back().time;
    quote.updatedAt = now;
    return snapshot;
}

} // namespace

std::vector<std::string> hosts(const Endpoints& endpoints) {
    return {endpoints.eastmoneyHistory, endpoints.eastmoneyMain, endpoints.eastmoneyDelayed};
}

std::string url(const std::string& origin, const std::string& secid) {
    return origin + "/api/qt/stock/trends2/get?secid=" + SeriesFields::identifier(secid) +
           "&fields1=f1,f2,f3,f4,f5,f6,f7,f8,f9,f10,f11,f12,f13&fields2=f51,f52,f53,f54,f55,f56,f57,f58&iscr=0&ndays=1";
}

Reply parse(std::string_view text, const std::string& code, const std::string& fallbackName, Instant now) {
    try {
        ReplyJson json;
        if (!json.parse(text)) return {};
        const ReplyJson::Node* data = json.find(json.root(), "data");
        if (!data || !data->isObject()) return {};
        const ReplyJson::Node* trends = json.find(data, "trends");
        if (!json.isArrayOfStrings(trends) || trends->size == 0) return {};
        return {true, buildSnapshot(json, *data, *trends, code, fallbackName, now)};
    } catch (...) {
        return {}; // out of memory on a huge reply: treated as an unusable reply
    }
}

std::optional<IntradaySnapshot> fetchIntraday(const std::string& secid, const std::string& code,
                                              const std::string& fallbackName, const FetchContext& context,
                                              double timeout) {
    const std::string symbol = SecID::tencentSymbol(code);
    if (context.switches.forceQQIntraday) {
        return QQIntraday::fetchIntradayQQ(symbol, code, fallbackName, context, timeout);
    }
    SourceHealth& health = context.health;
    const Clock& clock = context.clock;
    for (const std::string& origin : hosts(context.endpoints)) {
        const std::string key = "em.trends." + Endpoints::hostKey(origin);
        if (health.shouldSkip(key, clock.now())) continue;
        auto body =
            context.http.httpGet(url(origin, secid), Referers::eastmoneyQuote, timeout, ReplyLimit::minutes);
        const auto text = ReplyText::decode(std::move(body));
        Reply reply = text ? parse(*text, code, fallbackName, clock.now()) : Reply{};
        if (!reply.isUsable) {
            health.recordFailure(key, clock.now());
            continue;
        }
        health.recordSuccess(key);
        if (reply.snapshot) return std::move(reply.snapshot);
    }
    return QQIntraday::fetchIntradayQQ(symbol, code, fallbackName, context, timeout);
}

} // namespace glimmer::EastmoneyTrends
