#include "CardSamples.h"

#include "card/StockCardView.h"
#include "ChartSamples.h"

#include <QPainter>

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

QImage renderCard(StockCardView& card, double ratio) {
    QImage image((QSizeF(card.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    card.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace glimmer::samples
