#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace glimmer {

/// One of the card's five charts. The values are the numbers config.json stores.
enum class ChartView { intraday = 0, macd = 1, fundFlow = 2, dailyCandles = 3, volume = 4 };

namespace ChartViews {

struct Row {
    ChartView view;
    /// The name on the card, the menus and the panels' titles.
    const char* label;
};

/// Every chart in dot and rotation order (volume before the daily candles): a new chart is one row.
inline constexpr std::array<Row, 5> table{{
    {ChartView::intraday, "分时"},
    {ChartView::macd, "MACD"},
    {ChartView::fundFlow, "资金流"},
    {ChartView::volume, "量能"},
    {ChartView::dailyCandles, "日K"},
}};

inline constexpr std::size_t count = table.size();

/// The views of `table`, in its order.
inline constexpr std::array<ChartView, count> order = [] {
    std::array<ChartView, count> views{};
    for (std::size_t k = 0; k < count; ++k) views[k] = table[k].view;
    return views;
}();

const char* label(ChartView view);

/// The number config.json stores for `view`; the numbers are 0 to `count` - 1, so they also index
/// per-view arrays.
constexpr int stored(ChartView view) {
    return static_cast<int>(view);
}

/// The views by their stored numbers: the context menu's order and the renders' file numbers.
inline constexpr std::array<ChartView, count> byNumber = [] {
    std::array<ChartView, count> views{};
    for (const Row& row : table) views.at(std::size_t(stored(row.view))) = row.view;
    return views;
}();

/// The view a stored number names; none for a number no chart has.
std::optional<ChartView> fromStored(long long number);

} // namespace ChartViews
} // namespace glimmer
