#pragma once

#include "ui/TestApplication.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSizeF>

#include <functional>

class QPainter;

namespace glimmer::testing {

/// The card's chart area in logical pixels.
inline const QSizeF chartArea{336, 149};

/// Renders `paint` into a transparent image of `size` logical pixels at `ratio` device pixels each.
QImage renderChart(QSizeF size, double ratio, const std::function<void(QPainter&)>& paint);

/// Whether `colour` is close to `expected` in hue and strength (anti-aliasing blends the edges).
bool looksLike(const QColor& colour, const QColor& expected, int tolerance = 40);

/// The box around every pixel that differs between two images of one size; empty when none does.
QRect differingPixels(const QImage& a, const QImage& b);

/// Count of pixels in `rect` (logical) that look like `expected`.
int countLike(const QImage& image, const QRectF& rect, const QColor& expected, int tolerance = 40);

} // namespace glimmer::testing
