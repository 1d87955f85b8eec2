#include "market/QuoteBatch.h"

#include "market/PercentEncoding.h"
#include "market/ReplyText.h"
#include "market/SecID.h"
#include "model/AppLog.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <array>

namespace glimmer::QuoteBatch {

namespace {

// Fields past the last one read are only counted, so a record costs no allocation for its split.
constexpr std::size_t keptFields = 38;
constexpr std::size_t minimumFields = 36;

template <typename Visit> void scanRecords(std::string_view text, Visit&& visit) {
    std::size_t from = 0;
    while (from < text.size()) {
        const auto marker = text.find("v_", from);
        if (marker == std::string_view::npos) return;
        const auto equals = text.find("=\"", marker + 2);
        if (equals == std::string_view::npos) return;
        const auto close = text.find('"', equals + 2);
        if (close == std::string_view::npos) return;
        const auto symbol = text.substr(marker + 2, equals - marker - 2);
        const auto payload = text.substr(equals + 2, close - equals - 2);
        if (!symbol.empty() && !payload.empty()) visit(symbol, payload);
        from = close + 1;
    }
}

double numberOr(std::string_view field, double fallback) {
    return ReplyText::number(field).value_or(fallback);
}

double turnoverOf(std::string_view priceVolumeTurnover, std::optional<double> tenThousands) {
    std::array<std::string_view, 3> parts;
    std::size_t count = 0;
    std::size_t start = 0;
    while (start <= priceVolumeTurnover.size() && count < parts.size()) {
        auto slash = priceVolumeTurnover.find('/', start);
        if (slash == std::string_view::npos) slash = priceVolumeTurnover.size();
        if (slash > start) parts[count++] = priceVolumeTurnover.substr(start, slash - start);
        start = slash + 1;
    }
    if (count == 3) {
        const auto yuan = ReplyText::number(parts[2]);
        if (yuan && *yuan > 0) return *yuan;
    }
    return tenThousands ? *tenThousands * 10000 : 0;
}

/// Byte length of the first `count` characters (at most the whole text).
std::size_t prefixBytes(std::string_view text, std::size_t count) {
    bool isAscii = true;
    for (std::size_t i = 0; i < text.size() && i < count; ++i)
        isAscii = isAscii && static_cast<unsigned char>(text[i]) < 0x80;
    if (isAscii) return std::min(text.size(), count); // the usual digit stamp
    return TextFormat::utf8Prefix(text, count).size();
}

bool hasCharacters(std::string_view text, std::size_t count) {
    const std::size_t end = prefixBytes(text, count);
    return TextFormat::utf8Length(text.substr(0, end)) >= count;
}

} // namespace

std::map<std::string, Quote> parse(std::string_view text, Instant now) {
    std::map<std::string, Quote> quotes;
    scanRecords(text, [&](std::string_view symbol, std::string_view payload) {
        auto quote = parseRecord(symbol, payload, now);
        if (!quote) return;
        auto& slot = quotes[quote->code];
        slot = std::move(*quote);
    });
    return quotes;
}

std::vector<std::pair<std::string, std::string>> records(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> found;
    scanRecords(text, [&](std::string_view symbol, std::string_view payload) {
        found.emplace_back(std::string(symbol), std::string(payload));
    });
    return found;
}

std::optional<Quote> parseRecord(std::string_view symbol, std::string_view payload, Instant now) {
    // Split until the last field read; the rest only has to exist, so the split stops there.
    std::array<std::string_view, keptFields> fields;
    std::size_t count = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < payload.size() && count < keptFields; ++i) {
        if (payload[i] != '~') continue;
        fields[count++] = payload.substr(start, i - start);
        start = i + 1;
    }
    if (count < keptFields) fields[count++] = payload.substr(start);
    if (count < minimumFields || fields[1].empty()) return std::nullopt;
    const auto field = [&](std::size_t index) { return index < count ? fields[index] : std::string_view{}; };

    Quote quote;
    quote.name = std::string(fields[1]);
    if (!fields[2].empty()) {
        quote.code = std::string(fields[2]);
    } else if (symbol.size() > 2) {
        quote.code = std::string(symbol.substr(2));
    }
    if (quote.code.empty()) return std::nullopt; // nothing to key it by
    quote.prevClose = numberOr(fields[4], 0);
    const auto price = ReplyText::number(fields[3]);
    quote.price = price && *price > 0 ? *price : quote.prevClose;
    quote.amount = turnoverOf(fields[35], ReplyText::number(field(37)));
    quote.open = numberOr(fields[5], 0);
    quote.high = numberOr(fields[33], 0);
    quote.low = numberOr(fields[34], 0);
    quote.volume = numberOr(fields[6], 0);
    quote.tradeDate = tradeDate(fields[30]);
    quote.quoteTime = quoteTime(fields[30]);
    quote.updatedAt = now;
    return quote;
}

std::string tradeDate(std::string_view stamp) {
    if (!hasCharacters(stamp, 8)) return {};
    const std::size_t end = prefixBytes(stamp, 8);
    const std::size_t year = prefixBytes(stamp, 4);
    const std::size_t month = prefixBytes(stamp, 6);
    std::string date;
    date.reserve(end + 2);
    date.append(stamp.substr(0, year)).append("-");
    date.append(stamp.substr(year, month - year)).append("-");
    date.append(stamp.substr(month, end - month));
    return date;
}

std::optional<std::string> quoteTime(std::string_view stamp) {
    if (!hasCharacters(stamp, 12)) return std::nullopt;
    const std::size_t end = prefixBytes(stamp, 12);
    const std::size_t hour = prefixBytes(stamp, 8);
    const std::size_t minute = prefixBytes(stamp, 10);
    std::string time;
    time.reserve(end - hour + 1);
    time.append(stamp.substr(hour, minute - hour)).append(":");
    time.append(stamp.substr(minute, end - minute));
    return time;
}

std::map<std::string, Quote> fetch(const std::vector<WatchItem>& items, const FetchContext& context) {
    SourceHealth& health = context.health;
    const Clock& clock = context.clock;
    static const std::string key = "qq.quote";
    std::map<std::string, Quote> result;
    if (items.empty()) return result;
    if (health.shouldSkip(key, clock.now())) return result;

    // Each symbol is encoded on its own so that only the separators are bare commas.
    std::vector<std::string> symbols;
    symbols.reserve(items.size());
    for (const auto& item : items) symbols.push_back(percentEncode(SecID::tencentSymbol(item.code), "_"));

    const std::string origin = context.endpoints.tencentSnapshot;
    for (std::size_t first = 0; first < symbols.size(); first += chunkSize) {
        const std::size_t last = std::min(symbols.size(), first + chunkSize);
        std::string list;
        for (std::size_t i = first; i < last; ++i) {
            if (i > first) list += ',';
            list += symbols[i];
        }
        const auto text = ReplyText::decode(
            context.http.httpGet(origin + "/utf8/q=" + list, Referers::tencent, 10, ReplyLimit::snapshotBatch));
        if (!text) {
            if (health.recordFailure(key, clock.now())) {
                AppLog::write("INFO", "批量快照不可用，冷却 " +
                                          std::to_string(static_cast<int>(SourceHealth::cooldownSeconds)) +
                                          " 秒，改逐只拉分时");
            }
            break;
        }
        auto chunk = parse(*text, clock.now());
        if (chunk.empty()) {
            health.recordFailure(key, clock.now()); // a reply without usable records is never logged
            break;
        }
        health.recordSuccess(key);
        for (auto& [code, quote] : chunk) result.insert_or_assign(code, std::move(quote));
    }
    return result;
}

} // namespace glimmer::QuoteBatch
