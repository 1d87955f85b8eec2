#pragma once

#include <optional>
#include <string>
#include <string_view>

/// The text of a provider reply and the numbers in it, whatever the provider's encoding.
namespace glimmer::ReplyText {

/// UTF-8 when valid and non-empty, else GB 18030, else nothing.
std::optional<std::string> decode(std::optional<std::string> body);
/// A complete, finite decimal number ("12.5", "-0.3", "1e3", "+7"); nothing for anything else.
std::optional<double> number(std::string_view text);

} // namespace glimmer::ReplyText
