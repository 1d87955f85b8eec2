#pragma once

#include "card/ChartKit.h"
#include "model/MarketRecords.h"

#include <vector>

namespace glimmer {

/// Everything the fund-flow chart strokes, computed without a window.
struct FlowGeometry {
    static constexpr double axisWidth = 46;
    /// The footer is two rows, each measured up from the view's bottom: the time row at the very
    /// bottom, and the legend row a time row's height above where it would sit alone, so the two
    /// never touch. The plot gives up the same height.
    static constexpr double timeRowHeight = 8;
    static constexpr double legendRowOffset = 16 + timeRowHeight;
    static constexpr double bottomInset = 20 + timeRowHeight;

    bool isEmpty = true;
    ChartKit::Plot plot;
    /// Tops of the footer's legend and time rows.
    double legendY = 0;
    double timeY = 0;
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
