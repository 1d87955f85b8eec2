#include "market/ReplyText.h"

#include "model/TextFormat.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>

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

namespace {

// "-12.345": digits with at most one point inside, fifteen digits at most. Their integer and the power
// of ten are both exact doubles, so one division rounds exactly as from_chars does, at a fraction of
// its cost; a pass reads hundreds of thousands of these. Anything else is left to from_chars.
std::optional<double> plainDecimal(std::string_view text) {
    constexpr int maxDigits = 15;
    constexpr double powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* at = text.data();
    const char* const end = at + text.size();
    const bool negative = at < end && *at == '-';
    if (negative) ++at;
    std::uint64_t digits = 0;
    int count = 0;
    int fraction = -1; // digits after the point; -1 before one
    for (; at < end; ++at) {
        const unsigned digit = static_cast<unsigned char>(*at) - unsigned{'0'};
        if (digit < 10) {
            digits = digits * 10 + digit;
            ++count;
            if (fraction >= 0) ++fraction;
        } else if (*at == '.' && fraction < 0 && count > 0) {
            fraction = 0;
        } else {
            return std::nullopt;
        }
    }
    if (count == 0 || count > maxDigits || fraction == 0) return std::nullopt;
    const double value = static_cast<double>(digits) / powers[std::max(fraction, 0)];
    return negative ? -value : value;
}

} // namespace

std::optional<double> number(std::string_view text) {
    if (text.empty()) return std::nullopt;
    if (const std::optional<double> plain = plainDecimal(text)) return plain;
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
