#include "card/CardFrameCache.h"

#include "card/CardPainter.h"
#include "card/ChartKit.h"

#include <QPainter>

#include <cmath>

namespace glimmer {

namespace {

double deviceRatio(const QPainter& painter) {
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

void fullGlow(QPainter& painter, const CardLayout& layout, bool isDark) {
    CardPainter::glow(painter, layout, 1.0, isDark);
}

} // namespace

const QImage& CardFrameCache::imageFor(Slot& slot, const Key& key, void (*draw)(QPainter&, const CardLayout&, bool)) {
    if (!slot.image.isNull() && slot.key == key) return slot.image;
    const QSize pixels(int(std::ceil(key.size.width() * key.ratio)), int(std::ceil(key.size.height() * key.ratio)));
    slot.image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    slot.image.setDevicePixelRatio(key.ratio);
    slot.image.fill(Qt::transparent);
    QPainter painter(&slot.image);
    ChartKit::prepare(painter);
    draw(painter, CardLayout(key.size), key.dark);
    slot.key = key;
    return slot.image;
}

void CardFrameCache::paintBody(QPainter& painter, const CardLayout& layout, bool isDark) {
    painter.drawImage(QPointF(0, 0), imageFor(body, {layout.view, deviceRatio(painter), isDark}, CardPainter::body));
}

void CardFrameCache::paintGlow(QPainter& painter, const CardLayout& layout, double alpha, bool isDark) {
    const QImage& image = imageFor(glow, {layout.view, deviceRatio(painter), isDark}, fullGlow);
    // The border's coverage times the breath's alpha: the same pixels a stroke at that alpha gives.
    painter.save();
    painter.setOpacity(painter.opacity() * alpha);
    painter.drawImage(QPointF(0, 0), image);
    painter.restore();
}

} // namespace glimmer
