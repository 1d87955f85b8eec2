#include "card/charts/IntradayView.h"

#include "card/Theme.h"

#include <QPainter>

namespace glimmer {

IntradayView::IntradayView(QWidget* parent) : ChartWidget(ChartView::intraday, QStringLiteral("等待行情…"), parent) {
}

void IntradayView::setEntry(const MarketEntry& entry) {
    quote = entry.quote;
    minutes = entry.minutes;
}

bool IntradayView::hasData() const {
    return quote.has_value() && !minutes.empty();
}

void IntradayView::paintData(QPainter& painter, QSizeF size, bool isDark) const {
    const IntradayGeometry g = layoutIntraday(quote, minutes, size);
    if (g.isEmpty) return;
    const QRectF& rect = g.plot.rect;
    ChartKit::horizontalGrid(painter, g.plot, 4, Theme::gridLine().resolve(isDark));
    ChartKit::horizontalLine(painter, rect.left(), rect.right(), g.baselineY, Theme::preCloseLine().resolve(isDark),
                             0.8, {4, 3});

    std::vector<std::optional<QPointF>> area(g.price.begin(), g.price.end());
    const auto& fill = g.direction > 0 ? Theme::fillUp() : Theme::fillDown();
    ChartKit::filledArea(painter, area, g.baselineY, fill.resolve(isDark), rect);
    ChartKit::polyline(painter, g.average, Theme::avgLine().resolve(isDark), 1.1);
    const auto& line = g.direction > 0 ? Theme::up() : (g.direction < 0 ? Theme::down() : Theme::flat());
    ChartKit::polyline(painter, g.price, line.resolve(isDark), 1.5);

    const QFont valueFont = ChartKit::font(ChartKit::TextStyle::axisValue, painter.device());
    const double labelX = rect.right() + 4;
    const QColor tertiary = Theme::textTertiary().resolve(isDark);
    const auto tops = ChartKit::placeRangeLabels(rect.top() - 4, g.baselineY - 4, rect.bottom() - 8,
                                                 ChartKit::measure("0", valueFont, painter.device()).height());
    if (tops.top) {
        ChartKit::draw(painter, ChartKit::px(g.plot.hi, g.decimals), {labelX, *tops.top}, valueFont, tertiary,
                       ChartKit::Align::left);
    }
    ChartKit::draw(painter, ChartKit::px(g.prevClose, g.decimals), {labelX, tops.reference}, valueFont,
                   Theme::textSecondary().resolve(isDark), ChartKit::Align::left);
    if (tops.bottom) {
        ChartKit::draw(painter, ChartKit::px(g.plot.lo, g.decimals), {labelX, *tops.bottom}, valueFont, tertiary,
                       ChartKit::Align::left);
    }

    ChartKit::drawTimeLabels(painter, rect, size.height(), tertiary);
    ChartKit::draw(painter, QStringLiteral("均价 ") + ChartKit::px(g.lastAverage, g.decimals),
                   {rect.left() + 2, rect.top() + 1}, ChartKit::font(ChartKit::TextStyle::legend, painter.device()),
                   Theme::avgLine().resolve(isDark), ChartKit::Align::left);
}

} // namespace glimmer
