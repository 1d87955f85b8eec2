#include "card/charts/MACDView.h"

#include "card/Theme.h"
#include "model/TextFormat.h"

#include <QPainter>
#include <QPainterPath>

namespace glimmer {

MACDView::MACDView(QWidget* parent) : ChartWidget(ChartView::macd, QStringLiteral("等待行情…"), parent) {
}

void MACDView::setEntry(const MarketEntry& entry) {
    minutes = entry.minutes;
}

bool MACDView::hasData() const {
    return minutes.size() >= MACDGeometry::minimumMinutes;
}

void MACDView::paintData(QPainter& painter, QSizeF size, bool isDark) const {
    const MACDGeometry g = layoutMACD(minutes, size);
    if (g.isEmpty) return;
    const QRectF& rect = g.plot.rect;
    ChartKit::horizontalGrid(painter, g.plot, 4, Theme::gridLine().resolve(isDark));
    ChartKit::horizontalLine(painter, rect.left(), rect.right(), g.zeroY, Theme::preCloseLine().resolve(isDark), 0.8);

    QColor upColor = Theme::up().resolve(isDark);
    QColor downColor = Theme::down().resolve(isDark);
    upColor.setAlphaF(0.75f);
    downColor.setAlphaF(0.75f);
    std::vector<QRectF> rising;
    std::vector<QRectF> falling;
    for (const auto& bar : g.bars) (bar.isUp ? rising : falling).push_back(bar.rect);
    ChartKit::fillCrispRects(painter, rising, upColor);
    ChartKit::fillCrispRects(painter, falling, downColor);

    ChartKit::polyline(painter, g.dea, Theme::avgLine().resolve(isDark), 1.0);
    ChartKit::polyline(painter, g.dif, Theme::textPrimary().resolve(isDark), 1.1);

    const std::string legend = "DIF " + TextFormat::fixed(g.lastDif, 3) + "  DEA " + TextFormat::fixed(g.lastDea, 3);
    ChartKit::draw(painter, QString::fromStdString(legend), {rect.right() - 2, rect.top() + 1},
                   ChartKit::font(ChartKit::TextStyle::legend, painter.device()),
                   Theme::textSecondary().resolve(isDark), ChartKit::Align::right);
    ChartKit::drawTimeLabels(painter, rect, size.height(), Theme::textTertiary().resolve(isDark));
}

} // namespace glimmer
