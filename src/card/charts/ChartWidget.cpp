#include "card/charts/ChartWidget.h"

#include "card/ChartKit.h"
#include "card/Theme.h"

#include <QPainter>

namespace glimmer {

ChartWidget::ChartWidget(ChartView view, QString emptyText, QWidget* parent)
    : QWidget(parent), chartView(view), emptyText(std::move(emptyText)) {
    // No background of its own: the card behind shows through.
    setAutoFillBackground(false);
}

void ChartWidget::paintChart(QPainter& painter, QSizeF size, bool isDark) const {
    ChartKit::prepare(painter);
    if (!hasData()) {
        ChartKit::drawEmptyState(painter, emptyText, size, Theme::textTertiary().resolve(isDark));
        return;
    }
    paintData(painter, size, isDark);
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintChart(painter, size(), Theme::isDark(this));
}

} // namespace glimmer
