#pragma once

#include "model/Holdings.h"

#include <cstdint>
#include <string>

/// The texts of holdings figures. Every number is built from whole fen or basis points, so the
/// decimal point is a point whatever the locale and halves round away from zero.
namespace glimmer::HoldingsText {

/// What the privacy mode shows instead of an amount or a share count.
inline constexpr const char* mask = "****";

/// Yuan: "1,234.00" below 10,000, "5.6 万" below 1 亿, "1.23 亿" from there on. `signedText` puts
/// a plus before a gain; a loss always carries its minus.
std::string amount(double yuan, bool signedText);
/// `amount`, or the mask.
std::string amount(double yuan, bool signedText, bool privacy);
/// "+3.45%", "-0.50%", "0.00%".
std::string percent(double value);
/// "12,300", or the mask.
std::string shares(std::int64_t count, bool privacy);

/// The log line of an edited position, "持仓变更 600519 贵州茅台：持股 300，成本 1400.5" ("未填" for
/// a value not given); the share count is masked in privacy mode.
std::string changeLine(const WatchItem& item, bool privacy);

/// The tray's total line, "今日盈亏 +1,234.00 / 持仓盈亏 +5.6 万" (the parts the totals have; the
/// market value when they have neither); empty without any position.
std::string summaryLine(const HoldingTotals& totals, bool privacy);

} // namespace glimmer::HoldingsText
