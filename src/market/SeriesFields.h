#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace glimmer {
class ReplyJson;
struct FetchContext;
} // namespace glimmer

namespace glimmer::SeriesFields {

/// Splits at `separator`, dropping empty pieces, into `out` without allocating. Returns the number of
/// non-empty pieces (which may exceed N; only the first N are stored).
template <std::size_t N>
std::size_t split(std::string_view text, char separator, std::array<std::string_view, N>& out) {
    std::size_t count = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) {
            if (count < N) out[count] = text.substr(start, end - start);
            ++count;
        }
        start = end + 1;
    }
    return count;
}

/// The last `count` characters (code points) of UTF-8 text.
std::string_view lastCharacters(std::string_view text, std::size_t count);
/// The characters (code points) from `first`, `count` of them, or fewer when the text ends.
std::string_view characters(std::string_view text, std::size_t first, std::size_t count);

/// "HH:mm" from 09:30 to 15:00, by plain string comparison as the providers' minute keys sort.
bool isSessionMinute(std::string_view time);

/// An identifier ("1.600519", "sh600519") made safe for a query: every byte but ASCII letters,
/// digits and "." percent-encoded, so a hand-edited watch list can never add query parameters.
std::string identifier(std::string_view value);

/// Writes the INFO line that announces a new cool-down: prefix + 120 + suffix.
void logCooldown(const std::string& prefix, const std::string& suffix);

/// One Tencent source guarded by the cool-down under `key`: true with `document` holding the reply's
/// JSON object, which points into `text`. False when the source is cooling down, and (counted as a
/// failure, with `coolingMessage` + 120 + " 秒" logged when it starts a cool-down) when the transfer
/// fails or the reply is not a JSON object.
bool fetchObject(const FetchContext& context, const std::string& key, const std::string& url, std::size_t maxBodyBytes,
                 double timeout, const std::string& coolingMessage, std::string& text, ReplyJson& document);

} // namespace glimmer::SeriesFields
