#include "card/charts/VolumeView.h"

#include "card/Theme.h"
#include "model/TextFormat.h"

#include <QPainter>

namespace glimmer {

VolumeView::VolumeView(QWidget* parent) : ChartWidget(ChartView::volume, QStringLiteral("暂无分钟成交量数据"), parent) {
}

void VolumeView::setEntry(const MarketEntry& entry) {
    quote = entry.quote;
    minutes = entry.minutes;
}

bool VolumeView::hasData() const {
    return !minutes.empty();
}

QString VolumeView::format(double lots) {
    if (lots >= 1e8) return QString::fromStdString(TextFormat::fixed(lots / 1e8, 2) + "亿手");
    if (lots >= 10000) return QString::fromStdString(TextFormat::fixed(lots / 10000, 1) + "万手");
    return QString::fromStdString(TextFormat::fixed(lots, 0) + "手");
}

void VolumeView::paintData(QPainter& painter, QSizeF size, bool isDark) const {
    const VolumeGeometry g = layoutVolume(quote, minutes, size);
    if (g.isEmpty) return;
    ChartKit::horizontalGrid(painter, ChartKit::Plot{g.plot, 0, 1}, 3, Theme::gridLine().resolve(isDark));

    QColor upColor = Theme::up().resolve(isDark);
    QColor downColor = Theme::down().resolve(isDark);
    upColor.setAlphaF(0.85f);
    downColor.setAlphaF(0.85f);
    std::vector<QRectF> rising;
    std::vector<QRectF> falling;
    for (const auto& bar : g.bars) (bar.isUp ? rising : falling).push_back(bar.rect);
    ChartKit::fillCrispRects(painter, rising, upColor);
    ChartKit::fillCrispRects(painter, falling, downColor);
    ChartKit::polyline(painter, g.average, Theme::avgLine().resolve(isDark), 1.1);

    const QFont valueFont = ChartKit::font(ChartKit::TextStyle::axisValue, painter.device());
    const QColor tertiary = Theme::textTertiary().resolve(isDark);
    const double labelX = g.plot.right() + 4;
    ChartKit::draw(painter, format(g.maxVolume), {labelX, g.plot.top() - 4}, valueFont, tertiary,
                   ChartKit::Align::left);
    ChartKit::draw(painter, QStringLiteral("0"), {labelX, g.plot.bottom() - 8}, valueFont, tertiary,
                   ChartKit::Align::left);
    ChartKit::drawTimeLabels(painter, g.plot, size.height(), tertiary);

    const QFont legendFont = ChartKit::font(ChartKit::TextStyle::legend, painter.device());
    ChartKit::draw(painter, QStringLiteral("总量 ") + format(g.totalVolume), {g.plot.left() + 2, 1}, legendFont,
                   Theme::textPrimary().resolve(isDark), ChartKit::Align::left);
    ChartKit::draw(painter, QStringLiteral("5分均量 ") + format(g.lastMean), {g.plot.left() + 82, 1}, legendFont,
                   Theme::avgLine().resolve(isDark), ChartKit::Align::left);
}

} // namespace glimmer
