#include "card/charts/KLineView.h"

#include "card/Theme.h"

#include <QPainter>

#include <cmath>

namespace glimmer {

KLineView::KLineView(QWidget* parent)
    : ChartWidget(ChartView::dailyCandles, QStringLiteral("日 K 数据加载中…"), parent) {
}

void KLineView::setEntry(const MarketEntry& entry) {
    bars = entry.daily;
}

bool KLineView::hasData() const {
    return bars.size() >= KLineGeometry::minimumBars;
}

void KLineView::paintData(QPainter& painter, QSizeF size, bool isDark) const {
    const KLineGeometry g = layoutKLine(bars, periods, size);
    if (g.isEmpty) return;
    ChartKit::horizontalGrid(painter, g.plot, 4, Theme::gridLine().resolve(isDark));

    const QColor colours[3] = {Theme::down().resolve(isDark), Theme::flat().resolve(isDark),
                               Theme::up().resolve(isDark)};
    for (const auto& candle : g.candles) {
        const QColor& colour = colours[candle.direction + 1];
        QColor wick = colour;
        wick.setAlphaF(0.85f);
        QPen wickPen(wick, g.wickWidth);
        wickPen.setCapStyle(Qt::FlatCap);
        painter.setPen(wickPen);
        // A corrupt candle (NaN from a bad reply) is skipped rather than handed to the rasterizer.
        if (!std::isfinite(candle.highY + candle.lowY + candle.body.top() + candle.body.height())) continue;
        painter.drawLine(QPointF(candle.x, candle.highY), QPointF(candle.x, candle.lowY));
        if (candle.isHollow) {
            QPen outline(colour, g.outlineWidth);
            outline.setJoinStyle(Qt::MiterJoin);
            painter.setPen(outline);
            painter.setBrush(Qt::NoBrush);
            // Inset by half the pen so the outline keeps the body's width.
            const double inset = g.outlineWidth / 2;
            painter.drawRect(candle.body.adjusted(inset, inset, -inset, -inset));
        } else {
            ChartKit::fillCrispRect(painter, candle.body, colour);
        }
    }

    for (const auto& line : g.averages) {
        ChartKit::polyline(painter, line.points, Theme::maColor(line.colorIndex).resolve(isDark), 0.95);
    }

    const QFont legendFont = ChartKit::digitsFont(6.5, QFont::Medium, painter.device());
    const auto measure = [&](const QString& text) {
        return ChartKit::measure(text, legendFont, painter.device()).width();
    };
    for (const auto& entry : layoutKLineLegend(g, size, measure)) {
        ChartKit::draw(painter, entry.text, entry.at, legendFont, Theme::maColor(entry.colorIndex).resolve(isDark),
                       ChartKit::Align::left);
    }
}

} // namespace glimmer
