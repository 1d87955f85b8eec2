#include "market/SecID.h"

namespace glimmer::SecID {

bool isShanghai(std::string_view code) {
    if (code.empty()) return false;
    const char first = code.front();
    return first == '5' || first == '6' || first == '9';
}

std::string secid(std::string_view code) {
    std::string id = isShanghai(code) ? "1." : "0.";
    id.append(code);
    return id;
}

std::string tencentSymbol(std::string_view code) {
    std::string symbol = isShanghai(code) ? "sh" : "sz";
    symbol.append(code);
    return symbol;
}

} // namespace glimmer::SecID
