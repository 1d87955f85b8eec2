#include "card/CardFrameCache.h"

#include "card/CardPainter.h"
#include "card/ChartKit.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace glimmer {

namespace {

double deviceRatio(const QPainter& painter) {
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

void fullGlow(QPainter& painter, const CardLayout& layout, bool isDark) {
    CardPainter::glow(painter, layout, 1.0, isDark);
}

/// Qt's raster engine hands a draw of 96 clipped rows or more to its thread pool. A breath of the
/// glow repaints only a thin ring, and waking two threads for it at every step cost more than
/// the ring itself, so a ring is drawn rectangle by rectangle, a few rows at a time.
void drawOver(QPainter& painter, const QImage& image, const QRegion& dirty) {
    const double ratio = image.devicePixelRatio();
    // A fractional ratio would cut pieces between device pixels.
    if (dirty.rectCount() <= 1 || ratio != std::floor(ratio)) {
        painter.drawImage(QPointF(0, 0), image);
        return;
    }
    constexpr int rowsPerDraw = 40; // below the threshold at two device pixels per point
    for (const QRect& rect : dirty) {
        for (int top = rect.top(); top <= rect.bottom(); top += rowsPerDraw) {
            const QRect piece(rect.left(), top, rect.width(), std::min(rowsPerDraw, rect.bottom() - top + 1));
            const QRectF source(piece.left() * ratio, piece.top() * ratio, piece.width() * ratio,
                                piece.height() * ratio);
            painter.drawImage(QRectF(piece), image, source);
        }
    }
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

void CardFrameCache::paintBody(QPainter& painter, const CardLayout& layout, const QRegion& dirty, bool isDark) {
    drawOver(painter, imageFor(body, {layout.view, deviceRatio(painter), isDark}, CardPainter::body), dirty);
}

void CardFrameCache::paintGlow(QPainter& painter, const CardLayout& layout, const QRegion& dirty, double alpha,
                               bool isDark) {
    const QImage& image = imageFor(glow, {layout.view, deviceRatio(painter), isDark}, fullGlow);
    // The border's coverage times the breath's alpha: the same pixels a stroke at that alpha gives.
    painter.save();
    painter.setOpacity(painter.opacity() * alpha);
    drawOver(painter, image, dirty);
    painter.restore();
}

} // namespace glimmer
