#pragma once

#include "card/ChartKit.h"
#include "model/MarketRecords.h"

#include <vector>

namespace glimmer {

/// Everything the fund-flow chart strokes, computed without a window.
struct FlowGeometry {
    static constexpr double axisWidth = 46;
    static constexpr double bottomInset = 20;

    bool isEmpty = true;
    ChartKit::Plot plot;
    double zeroY = 0;
    std::vector<QPointF> main;
    std::vector<QPointF> retail;
    FlowPoint last;
    /// Main minus retail of the last point, in yuan: the "scissors".
    double scissors = 0;
};

FlowGeometry layoutFlow(const std::vector<FlowPoint>& flow, QSizeF size);

/// "剪刀差 4.30亿" for a gap given in yuan.
QString scissorsText(double scissors);
/// "%.2f亿" of a yuan amount.
QString yiText(double amount);

} // namespace glimmer
