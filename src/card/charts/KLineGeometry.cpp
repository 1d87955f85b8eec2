#include "card/charts/KLineGeometry.h"

#include "model/Indicators.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace glimmer {

std::vector<int> defaultMovingAveragePeriods() {
    return {5, 10, 20, 30, 60, 120, 250};
}

std::size_t visibleCandleCount(double plotWidth) {
    const double fitting = std::trunc(plotWidth / 4.2);
    return std::size_t(std::clamp(std::isfinite(fitting) ? fitting : 40.0, 40.0, 130.0));
}

KLineGeometry layoutKLine(const std::vector<DailyBar>& bars, const std::vector<int>& periods, QSizeF size) {
    KLineGeometry g;
    if (bars.size() < KLineGeometry::minimumBars) return g;
    g.isEmpty = false;
    const QRectF rect(3, 2, std::max(size.width() - 6, 1.0),
                      std::max(size.height() - KLineGeometry::legendHeight - 3, 1.0));
    const std::size_t count = std::min(visibleCandleCount(rect.width()), bars.size());
    const std::size_t first = bars.size() - count;
    g.visibleCount = count;

    std::vector<double> closes;
    closes.reserve(bars.size());
    for (const auto& bar : bars) closes.push_back(bar.close);

    // Non-finite values from a corrupt reply are left out of the range.
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    const auto widen = [&](double v) {
        if (!std::isfinite(v)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    };
    for (std::size_t i = first; i < bars.size(); ++i) {
        widen(bars[i].low);
        widen(bars[i].high);
    }
    std::vector<std::vector<std::optional<double>>> values;
    values.reserve(periods.size());
    for (int period : periods) {
        auto series = Indicators::ma(closes, period);
        series.erase(series.begin(), series.begin() + std::ptrdiff_t(first));
        for (const auto& value : series) {
            if (value) widen(*value);
        }
        values.push_back(std::move(series));
    }
    if (!std::isfinite(lo)) lo = hi = 0; // nothing usable at all
    if (hi <= lo) hi = lo + 0.01;
    const double pad = (hi - lo) * 0.03;
    g.plot = ChartKit::Plot{rect, lo - pad, hi + pad};

    g.step = rect.width() / double(count);
    g.bodyWidth = std::max(g.step * 0.62, 1.2);
    g.wickWidth = std::max(g.bodyWidth * 0.16, 0.5);
    g.outlineWidth = std::min(std::max(g.bodyWidth * 0.28, 0.6), 1.2);

    g.candles.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const DailyBar& bar = bars[first + i];
        Candle candle;
        candle.x = rect.left() + g.step * (double(i) + 0.5);
        candle.highY = g.plot.y(bar.high);
        candle.lowY = g.plot.y(bar.low);
        const double openY = g.plot.y(bar.open);
        const double closeY = g.plot.y(bar.close);
        candle.body = QRectF(candle.x - g.bodyWidth / 2, std::min(openY, closeY), g.bodyWidth,
                             std::max(std::fabs(openY - closeY), 1.0));
        candle.direction = bar.close > bar.open ? 1 : (bar.close < bar.open ? -1 : 0);
        candle.isHollow = bar.close >= bar.open;
        g.candles.push_back(candle);
    }

    for (std::size_t j = 0; j < periods.size(); ++j) {
        MovingAverageLine line;
        line.period = periods[j];
        line.colorIndex = std::min<std::size_t>(j, 6);
        line.points.reserve(count);
        for (std::size_t k = 0; k < values[j].size(); ++k) {
            if (values[j][k]) {
                line.points.emplace_back(QPointF(rect.left() + g.step * (double(k) + 0.5), g.plot.y(*values[j][k])));
            } else {
                line.points.emplace_back(std::nullopt);
            }
        }
        if (!values[j].empty()) line.latest = values[j].back();
        g.averages.push_back(std::move(line));
    }
    return g;
}

std::vector<LegendEntry> layoutKLineLegend(const KLineGeometry& geometry, QSizeF size,
                                           const std::function<double(const QString&)>& measure) {
    std::vector<LegendEntry> entries;
    double x = geometry.plot.rect.left();
    int row = 0;
    for (const auto& line : geometry.averages) {
        if (!line.latest) continue;
        const QString text = QStringLiteral("M%1 %2")
                                 .arg(line.period)
                                 .arg(ChartKit::px(*line.latest, ChartKit::priceDecimals(*line.latest)));
        const double width = measure(text);
        if (x + width > size.width() - 2) {
            if (row == 1) break;
            row = 1;
            x = geometry.plot.rect.left();
        }
        entries.push_back({text, line.colorIndex, QPointF(x, size.height() - 17 + row * 8)});
        x += width + 4;
    }
    return entries;
}

} // namespace glimmer
