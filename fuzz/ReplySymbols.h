#pragma once

#include "market/ReplyJson.h"

#include <string>
#include <vector>

namespace glimmer::fuzz {

/// The member names of the reply's "data" object (Tencent replies key their data by symbol), so
/// every seed reaches the per-symbol code whatever symbol it carries. Always includes one fixed name.
inline std::vector<std::string> dataSymbols(const ReplyJson& json) {
    std::vector<std::string> symbols{"sh600519"};
    const ReplyJson::Node* dataNode = json.root() ? json.find(json.root(), "data") : nullptr;
    if (!dataNode || !dataNode->isObject()) return symbols;
    for (const auto& child : json.children(*dataNode)) {
        if (symbols.size() >= 4) break;
        symbols.emplace_back(child.key);
    }
    return symbols;
}

} // namespace glimmer::fuzz
