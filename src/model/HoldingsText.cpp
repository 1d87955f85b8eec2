#include "model/HoldingsText.h"

#include "model/TextFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace glimmer::HoldingsText {

namespace {

constexpr std::int64_t fenPerWan = 1'000'000;     // 10,000 yuan
constexpr std::int64_t fenPerYi = 10'000'000'000; // 100,000,000 yuan
// Amounts are clamped to this many units before rounding to an integer, which larger ones overflow.
constexpr double wholeLimit = 9.0e15;

std::string grouped(std::int64_t whole) {
    const std::string digits = std::to_string(whole);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text.push_back(',');
        text.push_back(digits[i]);
    }
    return text;
}

std::string twoDigits(std::int64_t value) {
    return {char('0' + value / 10 % 10), char('0' + value % 10)};
}

// `magnitude` in units of `unit`, with `decimals` (1 or 2) rounded half up.
std::string scaled(std::int64_t magnitude, std::int64_t unit, int decimals) {
    const std::int64_t step = decimals == 1 ? unit / 10 : unit / 100;
    const std::int64_t steps = (magnitude + step / 2) / step;
    const std::int64_t per = decimals == 1 ? 10 : 100;
    const std::string fraction = decimals == 1 ? std::to_string(steps % per) : twoDigits(steps % per);
    return std::to_string(steps / per) + "." + fraction;
}

std::string magnitudeText(std::int64_t fen) {
    if (fen < fenPerWan) return grouped(fen / 100) + "." + twoDigits(fen % 100);
    // 9999.96 万 rounds up to a whole 亿 and reads as one.
    if ((fen + fenPerWan / 20) / (fenPerWan / 10) < 100'000) return scaled(fen, fenPerWan, 1) + " 万";
    return scaled(fen, fenPerYi, 2) + " 亿";
}

} // namespace

std::string amount(double yuan, bool signedText) {
    if (!std::isfinite(yuan)) return "—";
    const auto fen = static_cast<std::int64_t>(std::llround(std::clamp(yuan * 100, -wholeLimit, wholeLimit)));
    std::string text = fen < 0 ? "-" : (fen > 0 && signedText ? "+" : "");
    text += magnitudeText(std::llabs(fen));
    return text;
}

std::string amount(double yuan, bool signedText, bool privacy) {
    return privacy ? mask : amount(yuan, signedText);
}

std::string percent(double value) {
    if (!std::isfinite(value)) return "—";
    const auto basisPoints = static_cast<std::int64_t>(std::llround(std::clamp(value * 100, -wholeLimit, wholeLimit)));
    const std::int64_t magnitude = std::llabs(basisPoints);
    std::string text = basisPoints > 0 ? "+" : (basisPoints < 0 ? "-" : "");
    text += std::to_string(magnitude / 100) + "." + twoDigits(magnitude % 100) + "%";
    return text;
}

std::string shares(std::int64_t count, bool privacy) {
    return privacy ? mask : grouped(count);
}

std::string changeLine(const WatchItem& item, bool privacy) {
    const std::string count = item.shares ? shares(*item.shares, privacy) : "未填";
    const std::string cost = item.cost ? TextFormat::shortest(*item.cost) : "未填";
    return "持仓变更 " + item.code + " " + item.name + "：持股 " + count + "，成本 " + cost;
}

std::string summaryLine(const HoldingTotals& totals, bool privacy) {
    if (totals.positions == 0) return {};
    std::string line;
    if (totals.todayProfit) line = "今日盈亏 " + amount(*totals.todayProfit, true, privacy);
    if (totals.totalProfit) {
        if (!line.empty()) line += " / ";
        line += "持仓盈亏 " + amount(*totals.totalProfit, true, privacy);
    }
    if (line.empty()) line = "持仓市值 " + amount(totals.marketValue, false, privacy);
    return line;
}

} // namespace glimmer::HoldingsText
