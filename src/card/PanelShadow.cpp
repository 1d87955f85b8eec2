#include "card/PanelShadow.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace glimmer {

namespace {

/// Three box passes of this radius (device pixels) approach a Gaussian that ends at `reach`.
int boxRadius(double ratio) {
    return std::max(1, int(std::lround(PanelShadow::reach * ratio / 3)));
}

/// The tile's corner piece, in device pixels: the blur's padding plus the rounded body up to the
/// point where the edge no longer changes along its length.
int cornerPiece(double cornerRadius, double ratio) {
    return 3 * boxRadius(ratio) + int(std::ceil((cornerRadius + PanelShadow::reach) * ratio));
}

/// One box pass over `count` values `stride` apart; values beyond the ends count as zero.
void boxPass(uint8_t* values, int count, int stride, int radius, std::vector<int>& prefix) {
    prefix.assign(std::size_t(count) + 1, 0);
    for (int i = 0; i < count; ++i) prefix[std::size_t(i) + 1] = prefix[std::size_t(i)] + values[i * stride];
    const int width = 2 * radius + 1;
    for (int i = 0; i < count; ++i) {
        const int sum =
            prefix[std::size_t(std::min(count, i + radius + 1))] - prefix[std::size_t(std::max(0, i - radius))];
        values[i * stride] = uint8_t((sum + width / 2) / width);
    }
}

void blur(std::vector<uint8_t>& mask, int side, int radius) {
    std::vector<int> prefix;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < side; ++y) boxPass(mask.data() + std::size_t(y) * side, side, 1, radius, prefix);
        for (int x = 0; x < side; ++x) boxPass(mask.data() + x, side, side, radius, prefix);
    }
}

} // namespace

QMargins PanelShadow::margins(const QMarginsF& bodyInsets) {
    const auto need = [](double extent, double inset) { return std::max(0, int(std::ceil(extent - inset))); };
    return {need(reach, bodyInsets.left()), need(reach - drop, bodyInsets.top()), need(reach, bodyInsets.right()),
            need(reach + drop, bodyInsets.bottom())};
}

QImage PanelShadow::tile(double cornerRadius, double ratio, double alpha) {
    const int radius = boxRadius(ratio);
    const int pad = 3 * radius;
    const int piece = cornerPiece(cornerRadius, ratio);
    const int side = 2 * piece + 1;
    QImage shape(side, side, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter painter(&shape);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath body;
        const double r = cornerRadius * ratio;
        body.addRoundedRect(QRectF(pad, pad, side - 2 * pad, side - 2 * pad), r, r);
        painter.fillPath(body, Qt::black);
    }
    std::vector<uint8_t> mask(std::size_t(side) * side);
    for (int y = 0; y < side; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shape.constScanLine(y));
        for (int x = 0; x < side; ++x) mask[std::size_t(y) * side + x] = uint8_t(qAlpha(line[x]));
    }
    blur(mask, side, radius);
    const double strength = std::clamp(alpha, 0.0, 1.0);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < side; ++x) {
            line[x] = qRgba(0, 0, 0, int(std::lround(mask[std::size_t(y) * side + x] * strength)));
        }
    }
    return shape;
}

const QImage& PanelShadow::tileFor(double cornerRadius, double ratio, bool dark) {
    if (cached.isNull() || cornerRadius != cachedRadius || ratio != cachedRatio || dark != cachedDark) {
        cached = tile(cornerRadius, ratio, dark ? darkAlpha : lightAlpha);
        cachedRadius = cornerRadius;
        cachedRatio = ratio;
        cachedDark = dark;
    }
    return cached;
}

QRegion PanelShadow::hiddenUnder(const QRectF& body, double cornerRadius) {
    const QRect inner(QPoint(int(std::ceil(body.left())), int(std::ceil(body.top()))),
                      QPoint(int(std::floor(body.right())) - 1, int(std::floor(body.bottom())) - 1));
    if (inner.isEmpty()) return {};
    // The rounded corners let the shadow show; the cross between them is covered edge to edge.
    const int r = int(std::ceil(cornerRadius));
    return QRegion(inner.adjusted(r, 0, -r, 0)) + QRegion(inner.adjusted(0, r, 0, -r));
}

void PanelShadow::paint(QPainter& painter, const QRectF& body, double cornerRadius, bool dark) {
    if (body.isEmpty()) return;
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage& image = tileFor(cornerRadius, ratio, dark);
    const int k = cornerPiece(cornerRadius, ratio);
    const double pad = 3 * boxRadius(ratio) / ratio;
    const QRectF outer = body.translated(0, drop).adjusted(-pad, -pad, pad, pad);
    // A body smaller than two corners squeezes them rather than letting them overlap.
    const double cx = std::min(k / ratio, outer.width() / 2);
    const double cy = std::min(k / ratio, outer.height() / 2);
    const double left = outer.left();
    const double top = outer.top();
    const double right = outer.right() - cx;
    const double bottom = outer.bottom() - cy;
    const double midWidth = outer.width() - 2 * cx;
    const double midHeight = outer.height() - 2 * cy;
    // Edges reach only a little past the body's edge: deeper in, the opaque body hides them.
    const int d = std::min(k, int(std::ceil((pad + drop) * ratio)) + 1);
    const double dx = cx * d / k;
    const double dy = cy * d / k;

    painter.save();
    // The pieces land pixel for pixel; smoothing would only blur their joins.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(left, top, cx, cy), image, QRectF(0, 0, k, k));
    painter.drawImage(QRectF(right, top, cx, cy), image, QRectF(k + 1, 0, k, k));
    painter.drawImage(QRectF(left, bottom, cx, cy), image, QRectF(0, k + 1, k, k));
    painter.drawImage(QRectF(right, bottom, cx, cy), image, QRectF(k + 1, k + 1, k, k));
    if (midWidth > 0) {
        painter.drawImage(QRectF(left + cx, top, midWidth, dy), image, QRectF(k, 0, 1, d));
        painter.drawImage(QRectF(left + cx, outer.bottom() - dy, midWidth, dy), image, QRectF(k, 2 * k + 1 - d, 1, d));
    }
    if (midHeight > 0) {
        painter.drawImage(QRectF(left, top + cy, dx, midHeight), image, QRectF(0, k, d, 1));
        painter.drawImage(QRectF(outer.right() - dx, top + cy, dx, midHeight), image, QRectF(2 * k + 1 - d, k, d, 1));
    }
    painter.restore();
}

} // namespace glimmer
