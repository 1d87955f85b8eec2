#pragma once

#include "card/ChartKit.h"
#include "model/MarketRecords.h"

#include <functional>
#include <optional>
#include <vector>

namespace glimmer {

struct Candle {
    double x = 0;
    double highY = 0;
    double lowY = 0;
    QRectF body;
    /// Sign of close minus open: 1 up, -1 down, 0 doji.
    int direction = 0;
    /// Bodies with close at or above open are outlined, falling ones are filled.
    bool isHollow = true;
};

struct MovingAverageLine {
    int period = 0;
    std::size_t colorIndex = 0;
    std::vector<std::optional<QPointF>> points;
    /// The value under the last visible candle, absent while the history is too short.
    std::optional<double> latest;
};

struct LegendEntry {
    QString text;
    std::size_t colorIndex = 0;
    QPointF at;
};

/// Everything the daily candle chart strokes, computed without a window.
struct KLineGeometry {
    static constexpr double legendHeight = 19;
    /// Four bars or fewer show the loading text instead of a chart.
    static constexpr std::size_t minimumBars = 5;

    bool isEmpty = true;
    ChartKit::Plot plot;
    std::size_t visibleCount = 0;
    double step = 0;
    double bodyWidth = 0;
    double wickWidth = 0;
    double outlineWidth = 0;
    std::vector<Candle> candles;
    std::vector<MovingAverageLine> averages;
};

std::vector<int> defaultMovingAveragePeriods();

/// Candles that fit `plotWidth`, one per 4.2 points, kept between 40 and 130.
std::size_t visibleCandleCount(double plotWidth);

KLineGeometry layoutKLine(const std::vector<DailyBar>& bars, const std::vector<int>& periods, QSizeF size);

/// Legend entries in at most two rows under the candles; `measure` gives a text's width.
std::vector<LegendEntry> layoutKLineLegend(const KLineGeometry& geometry, QSizeF size,
                                           const std::function<double(const QString&)>& measure);

} // namespace glimmer
