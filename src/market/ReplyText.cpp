#include "market/ReplyText.h"

#include "model/TextFormat.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <cmath>

namespace glimmer::ReplyText {

std::optional<std::string> decode(std::optional<std::string> data) {
    if (!data || data->empty()) return std::nullopt;
    // Most replies are UTF-8 already and pass through without a copy.
    if (TextFormat::isValidUtf8(*data)) return data;

    iconv_t converter = iconv_open("UTF-8", "GB18030");
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(data->size() * 2 + 8, '\0');
    char* in = const_cast<char*>(data->data());
    size_t inLeft = data->size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    bool isOk = true;
    while (inLeft > 0) {
        if (iconv(converter, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) {
            const size_t used = static_cast<size_t>(outPtr - out.data());
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        isOk = false; // an invalid or truncated sequence: not GB 18030 either
        break;
    }
    iconv_close(converter);
    if (!isOk) return std::nullopt;
    out.resize(static_cast<size_t>(outPtr - out.data()));
    if (out.empty() || !TextFormat::isValidUtf8(out)) return std::nullopt;
    return out;
}

std::optional<double> number(std::string_view text) {
    if (text.empty()) return std::nullopt;
    // from_chars takes no leading "+", which provider fields sometimes carry.
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

} // namespace glimmer::ReplyText
