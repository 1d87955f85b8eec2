#include "market/SymbolSearch.h"

#include "market/Endpoints.h"
#include "market/PercentEncoding.h"
#include "market/ReplyText.h"

namespace glimmer::SymbolSearch {

namespace {

template <typename Visit> void forEachPiece(std::string_view text, char separator, Visit&& visit) {
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start && !visit(text.substr(start, end - start))) return;
        start = end + 1;
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/// The code unit of "\uXXXX" at `at`, or -1.
long escapeAt(std::string_view text, std::size_t at) {
    if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u') return -1;
    long value = 0;
    for (std::size_t i = at + 2; i < at + 6; ++i) {
        const int digit = hexValue(text[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

void appendUtf8(std::string& out, unsigned long point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

bool isCodeField(std::string_view field) {
    std::size_t characters = 0;
    std::size_t digits = 0;
    for (const char c : field) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters; // count code points, not bytes
        if (c >= '0' && c <= '9') ++digits;
    }
    return characters >= 5 && digits >= 5;
}

} // namespace

std::optional<std::string> url(const Endpoints& endpoints, std::string_view query) {
    return endpoints.tencentSuggest + "/s3/?q=" + percentEncode(query) + "&t=all";
}

std::vector<SymbolHit> search(std::string_view query, int limit, const FetchContext& context) {
    if (limit <= 0) return {};
    const auto address = url(context.endpoints, query);
    if (!address) return {};
    HttpRequest request;
    request.url = *address;
    request.referer = Referers::tencent;
    request.userAgent = userAgent;
    request.timeout = 5;
    request.graceSeconds = 1;        // the whole search waits at most 6 s
    request.acceptsAnyStatus = true; // the suggestion service is judged by its body alone
    request.maxBodyBytes = ReplyLimit::search;
    const auto text = ReplyText::decode(context.http.get(request));
    if (!text) return {};
    auto hits = parse(*text);
    if (hits.size() > static_cast<std::size_t>(limit)) hits.resize(static_cast<std::size_t>(limit));
    return hits;
}

std::vector<SymbolHit> parse(std::string_view text) {
    const auto first = text.find('"');
    const auto last = text.rfind('"');
    if (first == std::string_view::npos || last == first) return {};
    const auto body = text.substr(first + 1, last - first - 1);

    std::vector<SymbolHit> hits;
    forEachPiece(body, '^', [&](std::string_view entry) {
        std::string_view fields[5];
        std::size_t count = 0;
        forEachPiece(entry, '~', [&](std::string_view field) {
            fields[count++] = field;
            return count < 5;
        });
        if (count < 5 || !isCodeField(fields[1])) return true;
        SymbolHit hit;
        hit.code = std::string(fields[1]);
        hit.name = decodeEscapes(fields[2]);
        hit.kind = fields[4].find("ETF") != std::string_view::npos ? InstrumentKind::etf : InstrumentKind::stock;
        hits.push_back(std::move(hit));
        return true;
    });
    return hits;
}

std::string decodeEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const long unit = escapeAt(text, i);
        if (unit < 0) {
            out += text[i++];
            continue;
        }
        i += 6;
        unsigned long point = static_cast<unsigned long>(unit);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            // A pair of escapes for one character past U+FFFF; a lone half becomes U+FFFD.
            const long low = escapeAt(text, i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                point = 0x10000 + ((static_cast<unsigned long>(unit) - 0xD800) << 10) +
                        (static_cast<unsigned long>(low) - 0xDC00);
                i += 6;
            } else {
                point = 0xFFFD;
            }
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            point = 0xFFFD;
        }
        appendUtf8(out, point);
    }
    return out;
}

} // namespace glimmer::SymbolSearch
