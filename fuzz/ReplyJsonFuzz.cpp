#include "FuzzSupport.h"
#include "market/ReplyJson.h"
#include "model/TextFormat.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

using namespace glimmer;

namespace {

/// Walks the tree; every container's child count matches its chain of siblings. Notes numbers
/// beyond the double range, which are valid syntax that the second reader rejects.
void walk(const ReplyJson& json, const ReplyJson::Node& node, int depth, bool& outOfRange) {
    fuzz::expect(depth <= ReplyJson::maxDepth + 1, "nesting stays within the limit");
    if (node.kind == ReplyJson::Kind::number && !std::isfinite(node.number)) outOfRange = true;
    if (const auto value = ReplyJson::num(node)) fuzz::expectFinite(*value, "num is finite");
    if (!node.isArray() && !node.isObject()) return;
    std::uint32_t count = 0;
    for (const auto& child : json.children(node)) {
        ++count;
        walk(json, child, depth + 1, outOfRange);
    }
    fuzz::expect(count == node.size, "a container's size counts its children");
    if (node.isObject()) {
        for (const auto& child : json.children(node))
            fuzz::expect(json.find(&node, child.key) != nullptr, "members are found by name");
    }
    (void)json.isArrayOfStrings(&node);
}

} // namespace

void glimmer::fuzz::check(std::string_view text) {
    ReplyJson json;
    const bool accepted = json.parse(text);
    fuzz::expect(accepted == (json.root() != nullptr), "a tree exists exactly after a successful parse");
    bool outOfRange = false;
    if (accepted) walk(json, *json.root(), 0, outOfRange);

    // A NUL byte is never valid JSON (the second reader below stops reading at one).
    if (text.find('\0') != std::string_view::npos) {
        fuzz::expect(!accepted, "text with a NUL byte is rejected");
        return;
    }
    // Same verdict as a second strict reader on UTF-8 text that is not nested too deep for ours.
    const auto openings = std::count_if(text.begin(), text.end(), [](char c) { return c == '[' || c == '{'; });
    if (openings < 200 && !outOfRange && TextFormat::isValidUtf8(text)) {
        const bool other = nlohmann::json::accept(text);
        if (accepted != other) fuzz::fail(accepted ? "accepts what is not JSON" : "rejects valid JSON");
    }
}
