#pragma once

#include <string>
#include <string_view>

/// The identifier forms of a six-digit code. These are identifiers, not URL parts: a URL takes them
/// only through `percentEncode`, so a hand-edited code cannot add query parameters.
namespace glimmer::SecID {

/// A non-empty code whose first character is "5", "6" or "9"; everything else counts as Shenzhen.
bool isShanghai(std::string_view code);
/// Eastmoney "secid": "1." + code for Shanghai, else "0." + code.
std::string secid(std::string_view code);
/// Tencent symbol: "sh" + code for Shanghai, else "sz" + code.
std::string tencentSymbol(std::string_view code);

} // namespace glimmer::SecID
