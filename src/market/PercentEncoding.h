#pragma once

#include <string>
#include <string_view>

namespace glimmer {

/// Every byte except ASCII letters, digits and the bytes of `alsoAllowed` as "%XX" (upper-case hex),
/// so UTF-8 text goes out as UTF-8 percent-encoding and no user text can add a URL part.
std::string percentEncode(std::string_view text, std::string_view alsoAllowed = {});

} // namespace glimmer
