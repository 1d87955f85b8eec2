#include "card/charts/VolumeGeometry.h"

#include <algorithm>
#include <cmath>

namespace glimmer {
namespace {
// A provider glitch must not break the ordering the percentile relies on.
double finiteVolume(const MinuteBar& minute) {
    return std::isfinite(minute.volume) ? minute.volume : 0.0;
}
} // namespace

double volumeCap(const std::vector<MinuteBar>& minutes) {
    if (minutes.empty()) return 1;
    std::vector<double> sorted;
    sorted.reserve(minutes.size());
    for (const auto& minute : minutes) sorted.push_back(finiteVolume(minute));
    const std::size_t n = sorted.size();
    const std::size_t k = std::min(n - 1, std::size_t(std::trunc(double(n) * 0.95)));
    std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(k), sorted.end());
    return std::max(sorted[k] * 1.08, 1.0);
}

VolumeGeometry layoutVolume(const std::optional<Quote>& quote, const std::vector<MinuteBar>& minutes, QSizeF size) {
    VolumeGeometry g;
    if (minutes.empty()) return g;
    g.isEmpty = false;
    for (const auto& minute : minutes) {
        g.maxVolume = std::max(g.maxVolume, finiteVolume(minute));
        g.totalVolume += finiteVolume(minute);
    }
    g.cap = volumeCap(minutes);
    g.plot = QRectF(2, VolumeGeometry::topInset + 1, size.width() - VolumeGeometry::axisWidth - 2,
                    std::max(size.height() - VolumeGeometry::bottomInset - 1 - VolumeGeometry::topInset, 1.0));

    const double slot = g.plot.width() / ChartKit::tradingDayGaps;
    const double barWidth = std::max(slot - 1.2, 1.2);
    const auto yOf = [&](double volume) {
        return g.plot.top() + (g.cap - std::min(g.cap, volume)) / g.cap * g.plot.height();
    };

    g.bars.reserve(minutes.size());
    g.average.reserve(minutes.size());
    double window = 0;
    for (std::size_t i = 0; i < minutes.size(); ++i) {
        const double x = g.plot.left() + slot * double(i);
        const double top = yOf(finiteVolume(minutes[i]));
        const double height = std::max(g.plot.bottom() - top, 0.5);
        double previous = minutes[i].price;
        if (i > 0) {
            previous = minutes[i - 1].price;
        } else if (quote) {
            previous = quote->open;
        }
        g.bars.push_back({QRectF(x, g.plot.bottom() - height, barWidth, height), minutes[i].price >= previous});

        window += finiteVolume(minutes[i]);
        if (i >= 5) window -= finiteVolume(minutes[i - 5]);
        const double mean = window / double(std::min<std::size_t>(i + 1, 5));
        g.average.emplace_back(x, yOf(mean));
        g.lastMean = mean;
    }
    return g;
}

} // namespace glimmer
