#include "card/CardLayout.h"

#include "card/MinimalSlider.h"

#include <algorithm>

namespace glimmer {

CardLayout::CardLayout(QSizeF viewSize) : view(viewSize) {
    card = QRectF(leftGutter, topStrip, std::max(viewSize.width() - leftGutter, 1.0),
                  std::max(viewSize.height() - topStrip, 1.0));
    glow = card.adjusted(0.5, 0.5, -0.5, -0.5);
    const double mid = card.center().x();
    closeButton = QRectF(mid - 9, 2, buttonSize, buttonSize);
    expandButton = QRectF(mid - 33, 2, buttonSize, buttonSize);
    overviewButton = QRectF(mid - 57, 2, buttonSize, buttonSize);
    slider = QRectF(9, card.top() + 8, MinimalSlider::width, std::max(card.height() - 16, 30.0));
    charts = QRectF(card.left() + 7, card.top() + headerHeight, std::max(card.width() - 14, 10.0),
                    std::max(card.height() - headerHeight - footerHeight, 10.0));
    pin = QRectF(card.left() + 9, card.top() + 8, 17, 17);
}

double CardLayout::firstDotX(std::size_t count) const {
    const double n = double(count);
    return card.center().x() - (dotStep * (n - 1) + dotSize) / 2;
}

QRectF CardLayout::dot(std::size_t k, std::size_t count) const {
    return QRectF(firstDotX(count) + dotStep * double(k), card.bottom() - 11, dotSize, dotSize);
}

QRectF CardLayout::dotHitSquare(std::size_t k, std::size_t count) const {
    return QRectF(firstDotX(count) + dotStep * double(k) - 5, card.bottom() - 16, 14, 14);
}

std::optional<ChartView> CardLayout::dotView(QPointF p, const std::vector<ChartView>& views) const {
    for (std::size_t k = 0; k < views.size(); ++k) {
        if (contains(dotHitSquare(k, views.size()), p)) return views[k];
    }
    return std::nullopt;
}

ResizeEdge CardLayout::resizeEdge(QPointF p) const {
    const QRectF& c = card;
    const bool nearTop = p.y() <= c.top() + cornerZone;
    const bool nearBottom = p.y() >= c.bottom() - cornerZone;
    if (p.x() <= c.left() + cornerZone && (nearTop || nearBottom)) {
        return {ResizeEdge::left | (nearTop ? ResizeEdge::top : ResizeEdge::bottom)};
    }
    if (p.x() >= c.right() - cornerZone && (nearTop || nearBottom)) {
        return {ResizeEdge::right | (nearTop ? ResizeEdge::top : ResizeEdge::bottom)};
    }
    int edge = 0;
    if (p.x() <= c.left() + edgeBand) edge |= ResizeEdge::left;
    if (p.x() >= c.right() - edgeBand) edge |= ResizeEdge::right;
    if (p.y() <= c.top() + edgeBand) edge |= ResizeEdge::top;
    if (p.y() >= c.bottom() - edgeBand) edge |= ResizeEdge::bottom;
    return {edge};
}

QRectF CardLayout::banner() const {
    return QRectF(card.left() + 8, card.top() + headerHeight + 1, card.width() - 16, 15);
}

QPointF CardLayout::bannerTextOrigin() const {
    return {card.left() + 13, card.top() + headerHeight + 3};
}

QRectF CardLayout::dockPreviewBar(DockSide side) const {
    const QRectF inner = card.adjusted(0.75, 0.75, -0.75, -0.75);
    const double x = side == DockSide::right ? inner.right() - 3 : inner.left();
    return QRectF(x, inner.top() + 1, 3, inner.height() - 2);
}

QRectF CardLayout::dockPreviewHalo(DockSide side) const {
    return dockPreviewBar(side).adjusted(-1.5, 0, 1.5, 0);
}

Rect resizedFrame(const Rect& start, ResizeEdge edge, Point delta) {
    Rect f = start;
    if (edge.contains(ResizeEdge::left)) {
        f.width = std::max(start.width - delta.x, CardLayout::minimumPanelWidth);
        f.x = start.maxX() - f.width;
    }
    if (edge.contains(ResizeEdge::right)) {
        f.width = std::max(start.width + delta.x, CardLayout::minimumPanelWidth);
        f.x = start.x;
    }
    if (edge.contains(ResizeEdge::top)) {
        f.height = std::max(start.height + delta.y, CardLayout::minimumPanelHeight);
        f.y = start.y;
    }
    if (edge.contains(ResizeEdge::bottom)) {
        f.height = std::max(start.height - delta.y, CardLayout::minimumPanelHeight);
        f.y = start.maxY() - f.height;
    }
    return f;
}

} // namespace glimmer
