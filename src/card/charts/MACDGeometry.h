#pragma once

#include "card/ChartKit.h"
#include "model/MarketRecords.h"

#include <vector>

namespace glimmer {

struct MACDBar {
    QRectF rect;
    bool isUp = true;
};

/// Everything the MACD chart strokes, computed without a window.
struct MACDGeometry {
    static constexpr double axisWidth = 40;
    static constexpr double bottomInset = 13;
    /// Fewer minutes than this show the waiting text instead of a chart.
    static constexpr std::size_t minimumMinutes = 4;

    bool isEmpty = true;
    ChartKit::Plot plot;
    double zeroY = 0;
    std::vector<MACDBar> bars;
    std::vector<QPointF> dif;
    std::vector<QPointF> dea;
    double lastDif = 0;
    double lastDea = 0;
};

MACDGeometry layoutMACD(const std::vector<MinuteBar>& minutes, QSizeF size);

} // namespace glimmer
