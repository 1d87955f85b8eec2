#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glimmer {

/// A small read-only JSON tree for provider replies. A full trading day of minutes arrives several
/// times a minute per security, and a general-purpose DOM spends most of its time allocating one
/// string per minute; this tree keeps views into the reply text instead (only strings with escapes
/// are decoded into storage of their own). Strict RFC 8259 syntax; anything else is rejected, never
/// thrown. Nesting deeper than 256 levels is rejected too.
class ReplyJson {
public:
    enum class Kind : std::uint8_t { null, boolean, number, string, array, object };

    struct Node {
        Kind kind = Kind::null;
        bool isTrue = false;
        double number = 0;
        std::string_view text; // string value
        std::string_view key;  // member name inside an object
        std::uint32_t size = 0;                     // children of an array or object
        std::uint32_t firstChild = ReplyJson::none; // index of the first child
        std::uint32_t next = ReplyJson::none;       // index of the next sibling

        bool isString() const { return kind == Kind::string; }
        bool isArray() const { return kind == Kind::array; }
        bool isObject() const { return kind == Kind::object; }
    };

    static constexpr std::uint32_t none = 0xFFFFFFFF;
    static constexpr int maxDepth = 256;

    ReplyJson() = default;
    ReplyJson(const ReplyJson&) = delete; // nodes hold views into the parsed text and the decoded strings
    ReplyJson& operator=(const ReplyJson&) = delete;

    /// Parses one JSON value spanning the whole text (surrounding white space allowed). The text
    /// must outlive the tree. False, with no root, for anything that is not JSON.
    bool parse(std::string_view text);

    /// The top-level value; nothing before a successful parse.
    const Node* root() const { return nodes.empty() ? nullptr : &nodes.front(); }

    /// Member `key` of an object (the last one when a name repeats); nothing for a missing member or
    /// a node that is not an object.
    const Node* find(const Node* object, std::string_view key) const;

    /// The children of an array or object in document order.
    class Children {
    public:
        class Iterator {
        public:
            Iterator(const ReplyJson* json, std::uint32_t index) : json(json), index(index) {}
            const Node& operator*() const { return json->nodes[index]; }
            Iterator& operator++() {
                index = json->nodes[index].next;
                return *this;
            }
            bool operator!=(const Iterator& other) const { return index != other.index; }

        private:
            const ReplyJson* json;
            std::uint32_t index;
        };
        Iterator begin() const { return {json, first}; }
        Iterator end() const { return {json, none}; }

    private:
        friend class ReplyJson;
        Children(const ReplyJson* json, std::uint32_t first) : json(json), first(first) {}
        const ReplyJson* json;
        std::uint32_t first;
    };
    Children children(const Node& container) const { return {this, container.firstChild}; }

    /// Whether every child of an array is a string (false for anything but an array).
    bool isArrayOfStrings(const Node* node) const;

    /// A number as it is, a numeric string read as a decimal number, anything else nothing; never
    /// an infinity or NaN.
    static std::optional<double> num(const Node& node);

private:
    struct Parser;

    std::vector<Node> nodes;
    std::deque<std::string> decoded;
};

} // namespace glimmer
