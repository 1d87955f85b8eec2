#pragma once

#include <QImage>
#include <QMargins>
#include <QMarginsF>
#include <QRectF>
#include <QRegion>

class QPainter;

namespace glimmer {

/// The soft shadow a floating panel casts around its card body. The panel draws it itself, inside a
/// transparent window margin, so it needs no compositor and looks the same on every desktop. The
/// blurred corners and edges are cut from one small tile, made once per corner radius, theme and
/// pixel ratio, and the edge pieces are stretched along the body: painting costs eight image draws
/// whatever the size, and a resize blurs nothing.
class PanelShadow {
public:
    /// How far the shadow reaches beyond the body, and how far it falls downwards (points, y down).
    static constexpr double reach = 12;
    static constexpr double drop = 2;
    /// The shadow colour's alpha under the body: a dark desktop needs more to show it at all.
    static constexpr double lightAlpha = 0.24;
    static constexpr double darkAlpha = 0.6;

    /// The window margin (whole points) a body needs around its content for the shadow to fit, when
    /// the body lies `bodyInsets` inside the content; transparent insets already give room.
    static QMargins margins(const QMarginsF& bodyInsets);

    /// A rounded square blurred into black of peak `alpha`, `ratio` device pixels per point; its
    /// middle row and column are the stretchable edges, everything around them the corners.
    static QImage tile(double cornerRadius, double ratio, double alpha);

    /// The part of the window the opaque rounded `body` covers whole, where no shadow can show.
    static QRegion hiddenUnder(const QRectF& body, double cornerRadius);

    /// Paints the shadow of the rounded `body` (logical coordinates). The middle is left out: the
    /// opaque body covers it.
    void paint(QPainter& painter, const QRectF& body, double cornerRadius, bool dark);

private:
    const QImage& tileFor(double cornerRadius, double ratio, bool dark);

    QImage cached;
    double cachedRadius = -1;
    double cachedRatio = 0;
    bool cachedDark = false;
};

} // namespace glimmer
