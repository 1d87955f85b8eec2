#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace glimmer::TextFormat {

/// The shortest text that reads back as the same double ("0.55", "350", "1e-07").
std::string shortest(double value);
/// The value truncated to a whole number ("350" for 350.9), exact at any size: no integer type holds
/// what a hand-edited file may say. Not-a-number and infinities read as `shortest` gives them.
std::string whole(double value);
/// Fixed decimals as printf's "%.2f" gives them in the C locale: always a decimal point, whatever
/// locale the process runs in. Decimals are clamped to 0...100.
std::string fixed(double value, int decimals);
/// The same with a sign in front of every value that is not negative ("%+.2f"): "+1.50", "-0.25".
std::string signedFixed(double value, int decimals);

/// Number of Unicode code points in UTF-8 text; an invalid byte counts as one character.
std::size_t utf8Length(std::string_view text);
/// The first `count` characters of UTF-8 text, never cutting a character in half.
std::string utf8Prefix(std::string_view text, std::size_t count);
/// Whether the bytes are well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view text);

} // namespace glimmer::TextFormat
