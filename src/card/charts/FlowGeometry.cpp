#include "card/charts/FlowGeometry.h"

#include "model/TextFormat.h"

#include <algorithm>
#include <cmath>

namespace glimmer {

FlowGeometry layoutFlow(const std::vector<FlowPoint>& flow, QSizeF size) {
    FlowGeometry g;
    if (flow.empty()) return g;
    g.isEmpty = false;
    double lo = 0;
    double hi = 0;
    const auto widen = [&](double v) {
        if (!std::isfinite(v)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    };
    for (const auto& point : flow) {
        widen(point.main);
        widen(point.retail);
    }
    if (hi - lo < 1.0) hi = lo + 1.0;
    const double pad = (hi - lo) * 0.08;
    const QRectF rect(2, 1, size.width() - FlowGeometry::axisWidth - 2,
                      std::max(size.height() - FlowGeometry::bottomInset - 1, 1.0));
    g.plot = ChartKit::Plot{rect, lo - pad, hi + pad};
    g.zeroY = g.plot.y(0);
    g.legendY = size.height() - FlowGeometry::legendRowOffset;
    g.timeY = size.height() - FlowGeometry::timeRowHeight;
    g.main.reserve(flow.size());
    g.retail.reserve(flow.size());
    for (std::size_t i = 0; i < flow.size(); ++i) {
        const double x = ChartKit::slotX(rect, i);
        g.main.emplace_back(x, g.plot.y(flow[i].main));
        g.retail.emplace_back(x, g.plot.y(flow[i].retail));
    }
    g.last = flow.back();
    g.scissors = g.last.main - g.last.retail;
    return g;
}

QString yiText(double amount) {
    return QString::fromStdString(TextFormat::fixed(amount / 1e8, 2) + "亿");
}

QString scissorsText(double scissors) {
    return QStringLiteral("剪刀差 ") + yiText(scissors);
}

} // namespace glimmer
