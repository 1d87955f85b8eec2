#include "settings/WatchlistEditing.h"

#include "model/Holdings.h"

#include <algorithm>
#include <charconv>

namespace glimmer::WatchlistEditing {

namespace {

// Blank and line-break characters by their UTF-8 bytes: ASCII white space, the no-break space and
// the ideographic space typed by Chinese input methods.
std::size_t blankLength(std::string_view text, std::size_t at) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') return 1;
    if (text.substr(at, 2) == "\xC2\xA0") return 2;
    if (text.substr(at, 3) == "\xE3\x80\x80") return 3;
    return 0;
}

bool endsWithBlank(std::string_view text, std::size_t& length) {
    for (std::size_t n : {std::size_t(1), std::size_t(2), std::size_t(3)}) {
        if (text.size() >= n && blankLength(text, text.size() - n) == n) {
            length = n;
            return true;
        }
    }
    return false;
}

// ASCII digits, and the full-width digits of Chinese input methods read as their ASCII values.
std::string digitsOf(std::string_view word) {
    std::string code;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const auto c = static_cast<unsigned char>(word[i]);
        if (c >= '0' && c <= '9') {
            code.push_back(static_cast<char>(c));
        } else if (c == 0xEF && i + 2 < word.size() && static_cast<unsigned char>(word[i + 1]) == 0xBC) {
            const auto last = static_cast<unsigned char>(word[i + 2]);
            if (last >= 0x90 && last <= 0x99) {
                code.push_back(static_cast<char>('0' + (last - 0x90)));
                i += 2;
            }
        }
    }
    return code;
}

} // namespace

std::string trimmed(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t n = blankLength(text, begin);
        if (n == 0) break;
        begin += n;
    }
    text.remove_prefix(begin);
    std::size_t n = 0;
    while (!text.empty() && endsWithBlank(text, n)) text.remove_suffix(n);
    return std::string(text);
}

InstrumentKind kindForCode(std::string_view code) {
    for (std::string_view prefix : {"51", "15", "58"}) {
        if (code.starts_with(prefix)) return InstrumentKind::etf;
    }
    return InstrumentKind::stock;
}

bool addItem(AppConfig& config, const WatchItem& item) {
    const bool listed = std::any_of(config.watchlist.begin(), config.watchlist.end(),
                                    [&](const WatchItem& w) { return w.code == item.code; });
    if (listed) return false;
    config.watchlist.push_back(item);
    return true;
}

AddResult addTyped(AppConfig& config, std::string_view input) {
    const std::string text = trimmed(input);
    if (text.empty()) return AddResult::ignored;

    std::size_t split = 0;
    while (split < text.size() && blankLength(text, split) == 0) ++split;
    const std::string_view first = std::string_view(text).substr(0, split);
    // The name is whatever follows the run of blanks; inner blanks stay part of it.
    const std::string name = split < text.size() ? trimmed(std::string_view(text).substr(split)) : std::string();

    const std::string code = digitsOf(first);
    if (code.size() < 5) return AddResult::ignored;
    if (!addItem(config, WatchItem{code, name, kindForCode(code)})) return AddResult::duplicate;
    return AddResult::added;
}

void remove(AppConfig& config, const std::string& code) {
    std::erase_if(config.alerts.priceAlerts, [&](const PriceAlert& a) { return a.code == code; });
    std::erase(config.hiddenCodes, code);
    std::erase_if(config.watchlist, [&](const WatchItem& w) { return w.code == code; });
}

void move(AppConfig& config, const std::string& code, int direction) {
    auto& list = config.watchlist;
    const auto it = std::find_if(list.begin(), list.end(), [&](const WatchItem& w) { return w.code == code; });
    if (it == list.end()) return;
    const auto index = static_cast<std::ptrdiff_t>(it - list.begin());
    const std::ptrdiff_t other = index + (direction < 0 ? -1 : 1);
    if (other < 0 || other >= static_cast<std::ptrdiff_t>(list.size())) return;
    std::swap(list[static_cast<std::size_t>(index)], list[static_cast<std::size_t>(other)]);
}

bool isHidden(const AppConfig& config, const std::string& code) {
    return std::find(config.hiddenCodes.begin(), config.hiddenCodes.end(), code) != config.hiddenCodes.end();
}

void toggleHidden(AppConfig& config, const std::string& code) {
    if (isHidden(config, code))
        std::erase(config.hiddenCodes, code);
    else
        config.hiddenCodes.push_back(code);
}

namespace {

constexpr std::size_t maxShareDigits = 13;
constexpr std::size_t maxCostDigits = 8;
constexpr std::size_t maxCostDecimals = 4;

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<double> numberOf(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

WatchItem* findItem(AppConfig& config, const std::string& code) {
    const auto it = std::find_if(config.watchlist.begin(), config.watchlist.end(),
                                 [&](const WatchItem& w) { return w.code == code; });
    return it == config.watchlist.end() ? nullptr : &*it;
}

} // namespace

Typed typedShares(std::string_view text) {
    if (text.empty()) return Typed::complete;
    if (!allDigits(text) || text.size() > maxShareDigits) return Typed::invalid;
    return sharesOf(text) ? Typed::complete : Typed::partial;
}

Typed typedCost(std::string_view text) {
    if (text.empty()) return Typed::complete;
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (!allDigits(whole) || !allDigits(fraction) || whole.size() > maxCostDigits ||
        fraction.size() > maxCostDecimals) {
        return Typed::invalid;
    }
    return costOf(text) ? Typed::complete : Typed::partial;
}

std::optional<std::int64_t> sharesOf(std::string_view text) {
    if (text.empty() || !allDigits(text) || text.size() > maxShareDigits) return std::nullopt;
    const std::optional<double> value = numberOf(text);
    return value ? Holdings::sharesFrom(*value) : std::nullopt;
}

std::optional<double> costOf(std::string_view text) {
    // "12." and ".5" are on their way to a number, not one yet.
    if (text.empty() || text.front() == '.' || text.back() == '.') return std::nullopt;
    const std::optional<double> value = numberOf(text);
    return value ? Holdings::costFrom(*value) : std::nullopt;
}

void setShares(AppConfig& config, const std::string& code, std::optional<std::int64_t> shares) {
    if (WatchItem* item = findItem(config, code)) item->shares = shares;
}

void setCost(AppConfig& config, const std::string& code, std::optional<double> cost) {
    if (WatchItem* item = findItem(config, code)) item->cost = cost;
}

bool sameSecurities(const std::vector<WatchItem>& a, const std::vector<WatchItem>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const WatchItem& x, const WatchItem& y) {
        return x.code == y.code && x.name == y.name && x.kind == y.kind;
    });
}

} // namespace glimmer::WatchlistEditing
