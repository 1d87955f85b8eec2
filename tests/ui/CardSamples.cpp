#include "CardSamples.h"

#include "ChartSamples.h"

#include <QLayout>
#include <QPainter>
#include <QWidget>

namespace glimmer::samples {

MarketEntry cardEntry(bool closesUp) {
    const Day day = stockDay(closesUp);
    MarketEntry entry(WatchItem{"600519", "贵州茅台", InstrumentKind::stock});
    entry.quote = day.quote;
    entry.minutes = day.minutes;
    entry.flow = day.flow;
    entry.daily = dailyBars(120);
    entry.dailyLoadedOn = "2026-12-04";
    entry.updatedAt = day.quote.updatedAt;
    return entry;
}

MarketEntry heldEntry(bool closesUp) {
    MarketEntry entry = cardEntry(closesUp);
    entry.item.shares = 300;
    entry.item.cost = 1400.5;
    return entry;
}

QImage renderWidget(QWidget& widget, double ratio) {
    // A window never shown has not laid out its children yet.
    if (widget.layout() != nullptr) widget.layout()->activate();
    QImage image((QSizeF(widget.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace glimmer::samples
