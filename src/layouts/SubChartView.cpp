#include "layouts/SubChartView.h"

#include "card/ChartKit.h"
#include "card/Theme.h"
#include "card/charts/FlowView.h"
#include "card/charts/KLineView.h"
#include "card/charts/MACDView.h"
#include "card/charts/VolumeView.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace glimmer {

namespace {

QWidget* makeChart(int viewIndex, QWidget* parent) {
    switch (viewIndex) {
    case 4:
        return new VolumeView(parent);
    case 2:
        return new FlowView(parent);
    case 1:
        return new MACDView(parent);
    default:
        return new KLineView(parent);
    }
}

} // namespace

SubChartView::SubChartView(int viewIndex, QWidget* parent)
    : QWidget(parent), index(viewIndex), chartView(makeChart(viewIndex, this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    chartView->setGeometry(chartFrame(size()).toRect());
}

QString SubChartView::title(int viewIndex) {
    switch (viewIndex) {
    case 4:
        return QStringLiteral("量能");
    case 2:
        return QStringLiteral("资金流");
    case 1:
        return QStringLiteral("MACD");
    default:
        return QStringLiteral("日K");
    }
}

QRectF SubChartView::chartFrame(QSizeF size) {
    return {8, headerHeight, std::max(size.width() - 16, 10.0), std::max(size.height() - headerHeight - 8, 10.0)};
}

void SubChartView::push() {
    if (!currentEntry) return;
    const MarketEntry& e = *currentEntry;
    if (auto* volume = qobject_cast<VolumeView*>(chartView)) {
        volume->quote = e.quote;
        volume->minutes = e.minutes;
    } else if (auto* flow = qobject_cast<FlowView*>(chartView)) {
        flow->minutes = e.minutes;
        flow->flow = e.flow;
    } else if (auto* macd = qobject_cast<MACDView*>(chartView)) {
        macd->minutes = e.minutes;
    } else if (auto* kline = qobject_cast<KLineView*>(chartView)) {
        kline->bars = e.daily;
    }
    chartView->update();
    update();
}

void SubChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    chartView->setGeometry(chartFrame(size()).toRect());
}

void SubChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ChartKit::prepare(painter);
    const bool dark = Theme::isDark(this);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), cornerRadius, cornerRadius);
    painter.fillPath(path, Theme::cardBackground().resolve(dark));
    painter.strokePath(path, QPen(Theme::cardBorder().resolve(dark), 1.0));
    ChartKit::draw(painter, title(index), {12, 4}, ChartKit::systemFont(10, QFont::Medium, painter.device()),
                   Theme::textSecondary().resolve(dark), ChartKit::Align::left);
}

} // namespace glimmer
