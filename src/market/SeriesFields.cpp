#include "market/SeriesFields.h"

#include "market/FetchContext.h"
#include "market/PercentEncoding.h"
#include "market/ReplyJson.h"
#include "market/ReplyText.h"
#include "market/SourceHealth.h"
#include "model/AppLog.h"

#include <algorithm>

namespace glimmer::SeriesFields {

namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset of the code point after the one starting at `i` (stray continuation bytes count
// as characters of their own, like any invalid byte).
std::size_t nextCharacter(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (lead >= 0xC0 && lead < 0xE0) length = 2;
    else if (lead >= 0xE0 && lead < 0xF0) length = 3;
    else if (lead >= 0xF0 && lead < 0xF8) length = 4;
    std::size_t end = i + 1;
    while (end < text.size() && end < i + length && isContinuation(text[end])) ++end;
    return end;
}

} // namespace

std::string_view lastCharacters(std::string_view text, std::size_t count) {
    // Times and dates are ASCII, and an ASCII byte is always a whole character.
    if (count <= text.size() && std::all_of(text.end() - static_cast<std::ptrdiff_t>(count), text.end(),
                                            [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return text.substr(text.size() - count);
    }
    std::size_t start = text.size();
    for (std::size_t n = 0; n < count && start > 0; ++n) {
        std::size_t back = start - 1;
        // Step over at most three continuation bytes to the lead byte of the character.
        std::size_t steps = 0;
        while (back > 0 && steps < 3 && isContinuation(text[back])) {
            --back;
            ++steps;
        }
        if (isContinuation(text[back]) || nextCharacter(text, back) != start) back = start - 1;
        start = back;
    }
    return text.substr(start);
}

std::string_view characters(std::string_view text, std::size_t first, std::size_t count) {
    std::size_t begin = 0;
    for (std::size_t n = 0; n < first && begin < text.size(); ++n) begin = nextCharacter(text, begin);
    std::size_t end = begin;
    for (std::size_t n = 0; n < count && end < text.size(); ++n) end = nextCharacter(text, end);
    return text.substr(begin, end - begin);
}

bool isSessionMinute(std::string_view time) { return time >= "09:30" && time <= "15:00"; }

std::string identifier(std::string_view value) { return percentEncode(value, "."); }

void logCooldown(const std::string& prefix, const std::string& suffix) {
    AppLog::write("INFO", prefix + std::to_string(static_cast<int>(SourceHealth::cooldownSeconds)) + suffix);
}

bool fetchObject(const FetchContext& context, const std::string& key, const std::string& url, std::size_t maxBodyBytes,
                 double timeout, const std::string& coolingMessage, std::string& text, ReplyJson& document) {
    if (context.health.shouldSkip(key, context.clock.now())) return false;
    auto decoded = ReplyText::decode(context.http.httpGet(url, Referers::tencent, timeout, maxBodyBytes));
    if (decoded) text = std::move(*decoded);
    if (decoded && document.parse(text) && document.root()->isObject()) return true;
    if (context.health.recordFailure(key, context.clock.now())) logCooldown(coolingMessage, " 秒");
    return false;
}

} // namespace glimmer::SeriesFields
