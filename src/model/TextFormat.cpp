#include "model/TextFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace glimmer::TextFormat {

namespace {

// Length of the well-formed UTF-8 sequence starting at text[i], or 0 when it is not one.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char minSecond = 0x80, maxSecond = 0xBF;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) minSecond = 0xA0;
        if (lead == 0xED) maxSecond = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) minSecond = 0x90;
        if (lead == 0xF4) maxSecond = 0x8F;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < minSecond || byte(i + 1) > maxSecond) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    }
    return length;
}

} // namespace

std::string shortest(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string whole(double value) {
    if (!std::isfinite(value)) return shortest(value);
    // Adding 0 turns the -0 of a small negative value into 0.
    return fixed(std::trunc(value) + 0.0, 0);
}

std::string fixed(double value, int decimals) {
    // to_chars never consults the C library's locale, which the GUI toolkit sets from the user's.
    char buffer[512];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, std::clamp(decimals, 0, 100));
    return std::string(buffer, result.ptr);
}

std::string signedFixed(double value, int decimals) {
    const std::string text = fixed(value, decimals);
    return text.front() == '-' ? text : "+" + text;
}

std::size_t utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const std::size_t length = sequenceLength(text, i);
        i += length ? length : 1;
    }
    return count;
}

std::string utf8Prefix(std::string_view text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < text.size(); ++n) {
        const std::size_t length = sequenceLength(text, i);
        i += length ? length : 1;
    }
    return std::string(text.substr(0, i));
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // Replies are mostly ASCII: eight bytes without a high bit are eight valid characters.
        std::uint64_t word = 0;
        if (text.size() - i >= sizeof word) {
            std::memcpy(&word, text.data() + i, sizeof word);
            if (!(word & 0x8080808080808080ull)) {
                i += sizeof word;
                continue;
            }
        }
        const std::size_t length = sequenceLength(text, i);
        if (!length) return false;
        i += length;
    }
    return true;
}

} // namespace glimmer::TextFormat
