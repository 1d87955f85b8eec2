#include "market/ReplyJson.h"

#include "market/ReplyText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace glimmer {

struct ReplyJson::Parser {
    ReplyJson& json;
    const char* at;
    const char* end;

    void skipSpace() {
        while (at < end && (*at == ' ' || *at == '\n' || *at == '\r' || *at == '\t')) ++at;
    }

    bool literal(std::string_view word) {
        if (static_cast<std::size_t>(end - at) < word.size() || std::string_view(at, word.size()) != word) return false;
        at += word.size();
        return true;
    }

    static int hexValue(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    bool hex4(unsigned& out) {
        if (end - at < 4) return false;
        out = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = hexValue(at[i]);
            if (digit < 0) return false;
            out = out * 16 + static_cast<unsigned>(digit);
        }
        at += 4;
        return true;
    }

    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // Whether eight bytes hold a quote, a backslash or a control character: where plain text ends.
    static bool endsPlainText(std::uint64_t word) {
        constexpr std::uint64_t ones = 0x0101010101010101ull;
        constexpr std::uint64_t highs = 0x8080808080808080ull;
        const auto anyZero = [](std::uint64_t v) { return (v - ones) & ~v & highs; };
        const std::uint64_t belowSpace = (word - ones * 0x20) & ~word & highs;
        return (anyZero(word ^ (ones * '"')) | anyZero(word ^ (ones * '\\')) | belowSpace) != 0;
    }

    // At the opening quote; on success `out` views the reply text or a decoded copy.
    bool string(std::string_view& out) {
        ++at;
        const char* start = at;
        // Reply strings are long runs of plain text (a minute per string): skip them a word at a time.
        for (std::uint64_t word = 0; end - at >= 8; at += 8) {
            std::memcpy(&word, at, sizeof word);
            if (endsPlainText(word)) break;
        }
        while (at < end && *at != '"' && *at != '\\') {
            if (static_cast<unsigned char>(*at) < 0x20) return false;
            ++at;
        }
        if (at >= end) return false;
        if (*at == '"') {
            out = std::string_view(start, static_cast<std::size_t>(at - start));
            ++at;
            return true;
        }
        std::string& text = json.decoded.emplace_back(start, static_cast<std::size_t>(at - start));
        while (at < end && *at != '"') {
            const char c = *at;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                text += c;
                ++at;
                continue;
            }
            if (++at >= end) return false;
            const char escape = *at++;
            switch (escape) {
            case '"': text += '"'; break;
            case '\\': text += '\\'; break;
            case '/': text += '/'; break;
            case 'b': text += '\b'; break;
            case 'f': text += '\f'; break;
            case 'n': text += '\n'; break;
            case 'r': text += '\r'; break;
            case 't': text += '\t'; break;
            case 'u': {
                unsigned code = 0;
                if (!hex4(code)) return false;
                if (code >= 0xD800 && code <= 0xDBFF) {
                    unsigned low = 0;
                    if (end - at < 2 || at[0] != '\\' || at[1] != 'u') return false;
                    at += 2;
                    if (!hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code <= 0xDFFF) {
                    return false;
                }
                appendUtf8(text, code);
                break;
            }
            default:
                return false;
            }
        }
        if (at >= end) return false;
        ++at;
        out = text;
        return true;
    }

    bool number(Node& node) {
        const char* start = at;
        if (at < end && *at == '-') ++at;
        if (at >= end) return false;
        if (*at == '0') {
            ++at;
        } else if (*at >= '1' && *at <= '9') {
            while (at < end && *at >= '0' && *at <= '9') ++at;
        } else {
            return false;
        }
        if (at < end && *at == '.') {
            ++at;
            const char* digits = at;
            while (at < end && *at >= '0' && *at <= '9') ++at;
            if (at == digits) return false;
        }
        if (at < end && (*at == 'e' || *at == 'E')) {
            ++at;
            if (at < end && (*at == '+' || *at == '-')) ++at;
            const char* digits = at;
            while (at < end && *at >= '0' && *at <= '9') ++at;
            if (at == digits) return false;
        }
        node.kind = Kind::number;
        const auto result = std::from_chars(start, at, node.number);
        // Out of range: kept as a number that `num` refuses, as no finite value is right.
        if (result.ec == std::errc::result_out_of_range) node.number = HUGE_VAL;
        else if (result.ec != std::errc()) return false;
        return true;
    }

    // Parses one value into a new node and returns its index, or `none`.
    std::uint32_t value(int depth) {
        skipSpace();
        if (at >= end || depth > maxDepth) return none;
        const auto index = static_cast<std::uint32_t>(json.nodes.size());
        json.nodes.emplace_back();
        const char c = *at;
        if (c == '{' || c == '[') {
            const bool isObject = c == '{';
            json.nodes[index].kind = isObject ? Kind::object : Kind::array;
            ++at;
            skipSpace();
            const char close = isObject ? '}' : ']';
            if (at < end && *at == close) {
                ++at;
                return index;
            }
            std::uint32_t previous = none;
            std::uint32_t count = 0;
            while (true) {
                std::string_view key;
                if (isObject) {
                    skipSpace();
                    if (at >= end || *at != '"' || !string(key)) return none;
                    skipSpace();
                    if (at >= end || *at != ':') return none;
                    ++at;
                }
                const std::uint32_t child = value(depth + 1);
                if (child == none) return none;
                json.nodes[child].key = key;
                if (previous == none) json.nodes[index].firstChild = child;
                else json.nodes[previous].next = child;
                previous = child;
                ++count;
                skipSpace();
                if (at >= end) return none;
                if (*at == ',') {
                    ++at;
                    continue;
                }
                if (*at != close) return none;
                ++at;
                break;
            }
            json.nodes[index].size = count;
            return index;
        }
        Node& node = json.nodes[index];
        if (c == '"') {
            std::string_view text;
            if (!string(text)) return none;
            json.nodes[index].kind = Kind::string;
            json.nodes[index].text = text;
            return index;
        }
        if (c == 't' || c == 'f') {
            node.kind = Kind::boolean;
            node.isTrue = c == 't';
            return literal(c == 't' ? "true" : "false") ? index : none;
        }
        if (c == 'n') return literal("null") ? index : none;
        return number(node) ? index : none;
    }
};

bool ReplyJson::parse(std::string_view text) {
    nodes.clear();
    decoded.clear();
    // Some services put a UTF-8 byte-order mark in front of their JSON; it is not part of the value.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    nodes.reserve(64 + text.size() / 8);
    Parser parser{*this, text.data(), text.data() + text.size()};
    const bool isOk = parser.value(0) == 0 && (parser.skipSpace(), parser.at == parser.end);
    if (!isOk) {
        nodes.clear();
        decoded.clear();
    }
    return isOk;
}

const ReplyJson::Node* ReplyJson::find(const Node* object, std::string_view key) const {
    if (!object || !object->isObject()) return nullptr;
    const Node* found = nullptr;
    for (const Node& member : children(*object)) {
        if (member.key == key) found = &member;
    }
    return found;
}

bool ReplyJson::isArrayOfStrings(const Node* node) const {
    if (!node || !node->isArray()) return false;
    for (const Node& item : children(*node)) {
        if (!item.isString()) return false;
    }
    return true;
}

std::optional<double> ReplyJson::num(const Node& node) {
    if (node.kind == Kind::number) {
        if (!std::isfinite(node.number)) return std::nullopt;
        return node.number;
    }
    if (node.kind == Kind::string) return ReplyText::number(node.text);
    return std::nullopt;
}

} // namespace glimmer
