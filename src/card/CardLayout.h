#pragma once

#include "card/ScreenRect.h"
#include "model/AppConfig.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

namespace glimmer {

/// Which edges a press on the card resizes; corners combine two.
struct ResizeEdge {
    int rawValue = 0;

    static constexpr int left = 1;
    static constexpr int right = 2;
    static constexpr int top = 4;
    static constexpr int bottom = 8;

    bool isEmpty() const { return rawValue == 0; }
    bool contains(int member) const { return (rawValue & member) != 0; }
    /// Two edges at once: a corner.
    bool isCorner() const { return (contains(left) || contains(right)) && (contains(top) || contains(bottom)); }
    friend bool operator==(const ResizeEdge&, const ResizeEdge&) = default;
};

/// Where everything on the card sits, in view coordinates (y down), for one view size. The view
/// carries a transparent gutter on the left and a strip on top around the card body; both hold the
/// hover controls and act as resize handles.
struct CardLayout {
    static constexpr double leftGutter = 26;
    static constexpr double topStrip = 26;
    static constexpr double headerHeight = 49;
    static constexpr double footerHeight = 18;
    static constexpr double dotSize = 4;
    static constexpr double dotStep = 14;
    static constexpr double cornerRadius = 13;
    static constexpr double buttonSize = 18;
    static constexpr double cornerZone = 18;
    static constexpr double edgeBand = 7;
    /// The smallest panel a resize produces: room for the gutter plus a 240 x 150 card.
    static constexpr double minimumPanelWidth = leftGutter + 240;
    static constexpr double minimumPanelHeight = topStrip + 150;

    explicit CardLayout(QSizeF viewSize);

    QSizeF view;
    QRectF card;
    QRectF glow;
    QRectF closeButton;
    QRectF expandButton;
    QRectF overviewButton;
    QRectF slider;
    /// The one frame all five charts share.
    QRectF charts;
    /// The pin padlock; a press here never resizes.
    QRectF pin;

    /// x of the first of `count` dots, which are centred under the card.
    double firstDotX(std::size_t count) const;
    QRectF dot(std::size_t k, std::size_t count) const;
    /// The square a dot answers clicks on, larger than the dot.
    QRectF dotHitSquare(std::size_t k, std::size_t count) const;
    /// The view of the dot under `p`, from the views in dot order.
    std::optional<ChartView> dotView(QPointF p, const std::vector<ChartView>& views) const;

    bool isOnPin(QPointF p) const { return contains(pin, p); }
    ResizeEdge resizeEdge(QPointF p) const;
    /// Containment with the right and bottom edges excluded, so touching squares never share a point.
    static bool contains(const QRectF& rect, QPointF p) {
        return p.x() >= rect.left() && p.x() < rect.right() && p.y() >= rect.top() && p.y() < rect.bottom();
    }
    /// Whether `p` counts as on the card for clicks (left of and above it are the margins).
    bool acceptsClick(QPointF p) const { return p.y() >= card.top() && p.x() >= card.left(); }

    QRectF banner() const;
    QPointF bannerTextOrigin() const;
    /// The widest the banner message may be before it is shortened.
    double bannerTextWidth() const { return card.width() - 26; }
    /// The right end of the counter's baseline box.
    QPointF counterAnchor() const { return {card.right() - 12, card.bottom() - 14}; }
    /// Everything the header and the footer (dots, counter) draw lies inside these.
    QRectF headerArea() const { return {card.left(), card.top(), card.width(), headerHeight - 1}; }
    QRectF footerArea() const { return {card.left(), card.bottom() - footerHeight, card.width(), footerHeight}; }

    QRectF dockPreviewBar(DockSide side) const;
    QRectF dockPreviewHalo(DockSide side) const;
};

/// The panel frame (screen space, y up) after dragging `edge` by `delta` from `start`; never
/// smaller than the minimum panel size, and the edges opposite the dragged ones stay put.
Rect resizedFrame(const Rect& start, ResizeEdge edge, Point delta);

} // namespace glimmer
