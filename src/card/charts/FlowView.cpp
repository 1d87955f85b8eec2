#include "card/charts/FlowView.h"

#include "card/Theme.h"

#include <QPainter>

namespace glimmer {

FlowView::FlowView(QWidget* parent) : ChartWidget(ChartView::fundFlow, QStringLiteral("暂无分钟资金流数据"), parent) {
}

void FlowView::setEntry(const MarketEntry& entry) {
    flow = entry.flow;
}

bool FlowView::hasData() const {
    return !flow.empty();
}

void FlowView::paintData(QPainter& painter, QSizeF size, bool isDark) const {
    const FlowGeometry g = layoutFlow(flow, size);
    if (g.isEmpty) return;
    const QRectF& rect = g.plot.rect;
    const QColor mainColor = Theme::mainFlow().resolve(isDark);
    const QColor retailColor = Theme::retailFlow().resolve(isDark);
    const QColor tertiary = Theme::textTertiary().resolve(isDark);

    ChartKit::horizontalGrid(painter, g.plot, 4, Theme::gridLine().resolve(isDark));
    ChartKit::horizontalLine(painter, rect.left(), rect.right(), g.zeroY, Theme::preCloseLine().resolve(isDark), 0.8);
    ChartKit::polyline(painter, g.retail, retailColor, 1.2);
    ChartKit::polyline(painter, g.main, mainColor, 1.5);

    const QFont legendFont = ChartKit::font(ChartKit::TextStyle::legend, painter.device());
    const double labelX = rect.right() + 4;
    const auto tops = ChartKit::placeRangeLabels(rect.top() - 2, g.zeroY - 4, rect.bottom() - 9,
                                                 ChartKit::measure("0", legendFont, painter.device()).height());
    if (tops.top)
        ChartKit::draw(painter, yiText(g.plot.hi), {labelX, *tops.top}, legendFont, tertiary, ChartKit::Align::left);
    ChartKit::draw(painter, QStringLiteral("0"), {labelX, tops.reference}, legendFont,
                   Theme::textSecondary().resolve(isDark), ChartKit::Align::left);
    if (tops.bottom) {
        ChartKit::draw(painter, yiText(g.plot.lo), {labelX, *tops.bottom}, legendFont, tertiary, ChartKit::Align::left);
    }

    const QFont valueFont = ChartKit::font(ChartKit::TextStyle::axisValue, painter.device());
    const double legendY = g.legendY;
    const QSizeF mainSize = ChartKit::draw(painter, QStringLiteral("● 主力 ") + Theme::flowString(g.last.main),
                                           {rect.left(), legendY}, valueFont, mainColor, ChartKit::Align::left);
    ChartKit::draw(painter, QStringLiteral("● 散户 ") + Theme::flowString(g.last.retail),
                   {rect.left() + mainSize.width() + 8, legendY}, valueFont, retailColor, ChartKit::Align::left);
    ChartKit::draw(painter, scissorsText(g.scissors), {rect.right(), legendY}, valueFont,
                   g.scissors >= 0 ? mainColor : retailColor, ChartKit::Align::right);

    const QFont timeFont = ChartKit::digitsFont(7.0, QFont::Medium, painter.device());
    const double timeY = g.timeY;
    ChartKit::draw(painter, QStringLiteral("09:30"), {rect.left(), timeY}, timeFont, tertiary, ChartKit::Align::left);
    ChartKit::draw(painter, QString::fromStdString(g.last.time), {rect.right(), timeY}, timeFont, tertiary,
                   ChartKit::Align::right);
}

} // namespace glimmer
