#include "card/charts/MACDGeometry.h"

#include "model/Indicators.h"

#include <algorithm>
#include <cmath>

namespace glimmer {

MACDGeometry layoutMACD(const std::vector<MinuteBar>& minutes, QSizeF size) {
    MACDGeometry g;
    if (minutes.size() < MACDGeometry::minimumMinutes) return g;
    std::vector<double> prices;
    prices.reserve(minutes.size());
    for (const auto& minute : minutes) prices.push_back(minute.price);
    const MACDResult macd = Indicators::macd(prices, 12, 26, 9);
    if (macd.dif.size() != prices.size()) return g;
    g.isEmpty = false;

    double lo = 0;
    double hi = 0;
    const auto widen = [&](double v) {
        if (!std::isfinite(v)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    };
    for (std::size_t i = 0; i < prices.size(); ++i) {
        widen(macd.dif[i]);
        widen(macd.dea[i]);
        widen(macd.hist[i]);
    }
    if (hi - lo < 0.001) hi = lo + 0.01;
    const double pad = (hi - lo) * 0.08;
    const QRectF rect(2, 1, size.width() - MACDGeometry::axisWidth - 2,
                      std::max(size.height() - MACDGeometry::bottomInset - 1, 1.0));
    g.plot = ChartKit::Plot{rect, lo - pad, hi + pad};
    g.zeroY = g.plot.y(0);

    const double barWidth = std::max(rect.width() / ChartKit::tradingDayGaps * 0.62, 0.8);
    g.bars.reserve(prices.size());
    g.dif.reserve(prices.size());
    g.dea.reserve(prices.size());
    for (std::size_t i = 0; i < prices.size(); ++i) {
        const double x = ChartKit::slotX(rect, i);
        const double y = g.plot.y(macd.hist[i]);
        const QRectF bar(x - barWidth / 2, std::min(g.zeroY, y), barWidth, std::max(std::fabs(y - g.zeroY), 0.6));
        g.bars.push_back({bar, macd.hist[i] >= 0});
        g.dif.emplace_back(x, g.plot.y(macd.dif[i]));
        g.dea.emplace_back(x, g.plot.y(macd.dea[i]));
    }
    g.lastDif = macd.dif.back();
    g.lastDea = macd.dea.back();
    return g;
}

} // namespace glimmer
