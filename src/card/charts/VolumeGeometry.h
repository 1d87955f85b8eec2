#pragma once

#include "card/ChartKit.h"
#include "model/MarketRecords.h"

#include <optional>
#include <vector>

namespace glimmer {

struct VolumeBar {
    QRectF rect;
    bool isUp = true;
};

/// Everything the volume chart strokes, computed without a window.
struct VolumeGeometry {
    static constexpr double axisWidth = 40;
    static constexpr double bottomInset = 13;
    static constexpr double topInset = 14;

    bool isEmpty = true;
    QRectF plot;
    /// Bars are scaled to this near-top percentile so one opening spike does not flatten the day.
    double cap = 1;
    /// The true largest volume, shown in the top label even when its bar is cut.
    double maxVolume = 0;
    double totalVolume = 0;
    double lastMean = 0;
    std::vector<VolumeBar> bars;
    std::vector<QPointF> average;
};

double volumeCap(const std::vector<MinuteBar>& minutes);
VolumeGeometry layoutVolume(const std::optional<Quote>& quote, const std::vector<MinuteBar>& minutes, QSizeF size);

} // namespace glimmer
