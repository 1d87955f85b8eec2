#pragma once

#include "ui/TestApplication.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <functional>

namespace glimmer::testing {

inline const QSizeF chartArea{336, 149};

/// Renders `paint` into a transparent image of `size` logical pixels at `ratio` device pixels each.
inline QImage renderChart(QSizeF size, double ratio, const std::function<void(QPainter&)>& paint) {
    ensureApplication();
    QImage image((size * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter);
    painter.end();
    return image;
}

/// Whether `colour` is close to `expected` in un-premultiplied channels, so a half-covered pixel still matches.
inline bool looksLike(const QColor& colour, const QColor& expected, int tolerance = 40) {
    return colour.alpha() >= 40 && std::abs(colour.red() - expected.red()) <= tolerance &&
           std::abs(colour.green() - expected.green()) <= tolerance &&
           std::abs(colour.blue() - expected.blue()) <= tolerance;
}

inline int countLike(const QImage& image, const QRectF& rect, const QColor& expected, int tolerance = 40) {
    const double ratio = image.devicePixelRatio();
    const QRect pixels = QRectF(rect.topLeft() * ratio, rect.size() * ratio).toAlignedRect() & image.rect();
    int count = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            count += looksLike(image.pixelColor(x, y), expected, tolerance);
    return count;
}

/// The box around every pixel that differs between two images of one size; empty when none does.
inline QRect differingPixels(const QImage& a, const QImage& b) {
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace glimmer::testing
