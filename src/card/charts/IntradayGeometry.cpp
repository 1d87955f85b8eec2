#include "card/charts/IntradayGeometry.h"

#include <algorithm>
#include <cmath>

namespace glimmer {

IntradayGeometry layoutIntraday(const std::optional<Quote>& quote, const std::vector<MinuteBar>& minutes, QSizeF size) {
    IntradayGeometry g;
    if (minutes.empty() || !quote) return g;
    g.isEmpty = false;
    g.prevClose = quote->prevClose;

    const QRectF rect(2, 1, size.width() - IntradayGeometry::axisWidth - 2,
                      std::max(size.height() - IntradayGeometry::bottomInset - 1, 1.0));
    double lo = quote->prevClose;
    double hi = quote->prevClose;
    // Non-finite values from a corrupt reply are left out of the range (and drawn as gaps).
    const auto widen = [&](double v) {
        if (!std::isfinite(v)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    };
    for (const auto& minute : minutes) {
        widen(minute.price);
        widen(minute.avg);
    }
    if (hi <= lo) hi = lo + 0.01;
    const double pad = (hi - lo) * 0.04;
    g.plot = ChartKit::Plot{rect, lo - pad, hi + pad};
    g.baselineY = g.plot.y(quote->prevClose);

    g.price.reserve(minutes.size());
    g.average.reserve(minutes.size());
    for (std::size_t i = 0; i < minutes.size(); ++i) {
        const double x = ChartKit::slotX(rect, i);
        g.price.emplace_back(x, g.plot.y(minutes[i].price));
        g.average.emplace_back(x, g.plot.y(minutes[i].avg));
    }
    const double change = quote->price - quote->prevClose;
    g.direction = change > 0 ? 1 : (change < 0 ? -1 : 0);
    g.lastAverage = minutes.back().avg;
    g.decimals = std::max(ChartKit::priceDecimals(quote->price), ChartKit::priceDecimals(quote->prevClose));
    return g;
}

} // namespace glimmer
