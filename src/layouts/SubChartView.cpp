#include "layouts/SubChartView.h"

#include "card/ChartKit.h"
#include "card/Theme.h"
#include "card/charts/ChartFactory.h"
#include "card/charts/ChartWidget.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace glimmer {

SubChartView::SubChartView(ChartView view, QWidget* parent) : QWidget(parent), chartWidget(makeChart(view, this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    chartWidget->setGeometry(chartFrame(size()).toRect());
}

ChartView SubChartView::view() const {
    return chartWidget->view();
}

QRectF SubChartView::chartFrame(QSizeF size) {
    return {8, headerHeight, std::max(size.width() - 16, 10.0), std::max(size.height() - headerHeight - 8, 10.0)};
}

void SubChartView::push() {
    if (!currentEntry) return;
    chartWidget->setEntry(*currentEntry);
    chartWidget->update();
    update();
}

void SubChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    chartWidget->setGeometry(chartFrame(size()).toRect());
}

void SubChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ChartKit::prepare(painter);
    const bool dark = Theme::isDark(this);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), cornerRadius, cornerRadius);
    painter.fillPath(path, Theme::cardBackground().resolve(dark));
    painter.strokePath(path, QPen(Theme::cardBorder().resolve(dark), 1.0));
    ChartKit::draw(painter, QString::fromUtf8(ChartViews::label(view())), {12, 4},
                   ChartKit::systemFont(10, QFont::Medium, painter.device()), Theme::textSecondary().resolve(dark),
                   ChartKit::Align::left);
}

} // namespace glimmer
