#pragma once

#include "card/ChartKit.h"
#include "model/MarketRecords.h"

#include <optional>
#include <vector>

namespace glimmer {

/// Everything the intraday chart strokes, computed without a window.
struct IntradayGeometry {
    static constexpr double axisWidth = 40;
    static constexpr double bottomInset = 13;

    bool isEmpty = true;
    ChartKit::Plot plot;
    double prevClose = 0;
    double baselineY = 0;
    std::vector<QPointF> price;
    std::vector<QPointF> average;
    /// Sign of the quote's change: 1 up, -1 down, 0 unchanged.
    int direction = 0;
    double lastAverage = 0;
    /// Decimals of every price label: the security's own, as the header shows them (a fund's
    /// third decimal even where one value happens to end in zero).
    int decimals = 2;
};

IntradayGeometry layoutIntraday(const std::optional<Quote>& quote, const std::vector<MinuteBar>& minutes, QSizeF size);

} // namespace glimmer
