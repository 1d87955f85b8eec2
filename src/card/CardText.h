#pragma once

#include "model/ChartView.h"
#include "model/HotKeyKeys.h"
#include "model/MarketEntry.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace glimmer {

/// The texts the card shows, apart from painting so their rules can be checked on their own.
namespace CardText {

/// Shown when the card has no entry and the owner gave no text of its own.
inline constexpr const char* defaultPlaceholder = "添加股票后开始监控";
inline constexpr const char* loading = "加载中…";
inline constexpr const char* bannerPrefix = "⚠ ";

QString placeholder(const std::optional<std::string>& placeholderText);

/// The quote's name when it has one, else the watch-list name.
QString name(const MarketEntry& entry);

/// A button's tool tip naming its hot key: "展开所有副图（Ctrl+Alt+E）".
QString withKeys(const char* text, HotKeyKeys::Combination keys);

/// "·锁定" and the view's label, or empty without a lock.
QString lockLabel(std::optional<ChartView> lockedView);

/// The price with the decimals its size calls for, as every card shows it.
QString price(const Quote& quote);

/// "+0.12  +1.05%" (a plus only for a rise; a fall carries its own minus). The percent is 0 without
/// a previous close.
QString changeLine(const Quote& quote, int decimals);

/// Month-day of the trade date and the time of the last minute (or of the quote), whichever exist.
QString timeText(const MarketEntry& entry);

/// "1/5" for the first of five; empty when there is nothing to count.
QString counter(int index, int total);

/// The alert message cut from its end, one character at a time, while it is wider than `maxWidth`
/// and still has at least five characters, then prefixed with the warning sign. Characters are
/// Unicode code points, so Chinese text and emoji are never split.
QString banner(const std::string& message, double maxWidth, const std::function<double(const QString&)>& measure);

} // namespace CardText
} // namespace glimmer
