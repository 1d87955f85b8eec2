#include "market/QQIntraday.h"

#include "market/Endpoints.h"
#include "market/QuoteBatch.h"
#include "market/ReplyText.h"
#include "market/SeriesFields.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <array>

namespace glimmer::QQIntraday {

namespace {

constexpr const char* sourceKey = "qq.intraday";

// The snapshot record of the reply rebuilt as the "~"-joined payload the batch parser reads.
std::optional<Quote> embeddedQuote(const ReplyJson& json, const ReplyJson::Node& entry, const std::string& symbol,
                                   Instant now) {
    const ReplyJson::Node* fields = json.find(json.find(&entry, "qt"), symbol);
    if (!json.isArrayOfStrings(fields)) return std::nullopt;
    std::string payload;
    payload.reserve(512);
    bool isFirst = true;
    for (const auto& field : json.children(*fields)) {
        if (!isFirst) payload += '~';
        payload += field.text;
        isFirst = false;
    }
    return QuoteBatch::parseRecord(symbol, payload, now);
}

Quote placeholderQuote(const std::string& code, const std::string& fallbackName, Instant now) {
    Quote quote;
    quote.code = code;
    quote.name = fallbackName;
    quote.updatedAt = now;
    return quote;
}

} // namespace

std::string url(const std::string& origin, const std::string& symbol) {
    return origin + "/appstock/app/minute/query?code=" + SeriesFields::identifier(symbol);
}

std::optional<IntradaySnapshot> parse(const ReplyJson& json, const std::string& symbol, const std::string& code,
                                      const std::string& fallbackName, Instant now) {
    try {
        const ReplyJson::Node* entry = json.find(json.find(json.root(), "data"), symbol);
        if (!entry || !entry->isObject()) return std::nullopt;
        const ReplyJson::Node* lines = json.find(json.find(entry, "data"), "data");
        if (!json.isArrayOfStrings(lines) || lines->size == 0) return std::nullopt;

        IntradaySnapshot snapshot;
        snapshot.minutes.reserve(lines->size);
        double previousVolume = 0;
        double previousTurnover = 0;
        for (const auto& item : json.children(*lines)) {
            const std::string_view line = item.text;
            std::array<std::string_view, 4> pieces;
            if (SeriesFields::split(line, ' ', pieces) < pieces.size()) continue;
            if (TextFormat::utf8Length(pieces[0]) != 4) continue;
            const auto price = ReplyText::number(pieces[1]);
            if (!price) continue;
            std::string time;
            time.reserve(5);
            time += SeriesFields::characters(pieces[0], 0, 2);
            time += ':';
            time += SeriesFields::characters(pieces[0], 2, 2);
            // Opening-auction lines before 09:30 stay out; their volume lands in the first minute.
            if (!SeriesFields::isSessionMinute(time)) continue;
            const double volume = ReplyText::number(pieces[2]).value_or(previousVolume);
            const double turnover = ReplyText::number(pieces[3]).value_or(previousTurnover);
            MinuteBar bar;
            bar.time = std::move(time);
            bar.price = *price;
            bar.volume = std::max(volume - previousVolume, 0.0);
            bar.amount = std::max(turnover - previousTurnover, 0.0);
            bar.avg = volume > 0 ? turnover / (volume * 100) : *price;
            snapshot.minutes.push_back(std::move(bar));
            previousVolume = volume;
            previousTurnover = turnover;
        }
        if (snapshot.minutes.empty()) return std::nullopt;
        auto quote = embeddedQuote(json, *entry, symbol, now);
        snapshot.quote = quote ? std::move(*quote) : placeholderQuote(code, fallbackName, now);
        return snapshot;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<IntradaySnapshot> fetchIntradayQQ(const std::string& symbol, const std::string& code,
                                                const std::string& fallbackName, const FetchContext& context,
                                                double timeout) {
    std::string text;
    ReplyJson document;
    if (!SeriesFields::fetchObject(context, sourceKey, url(context.endpoints.tencentChart, symbol), ReplyLimit::minutes,
                                   timeout, "腾讯分时不可用，冷却 ", text, document)) {
        return std::nullopt;
    }
    auto snapshot = parse(document, symbol, code, fallbackName, context.clock.now());
    if (!snapshot) {
        context.health.recordFailure(sourceKey, context.clock.now());
        return std::nullopt;
    }
    context.health.recordSuccess(sourceKey);
    return snapshot;
}

} // namespace glimmer::QQIntraday
