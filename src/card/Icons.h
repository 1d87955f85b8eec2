#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace glimmer {

/// The program's own monochrome vector icons, drawn in one colour at any size and pixel ratio.
namespace Icons {

enum class Icon {
    lockClosed,
    lockOpen,
    xmark,
    /// A rectangle split into a top and a bottom half (expand the sub-charts).
    split1x2,
    /// A rectangle split into four (overview of all securities).
    split2x2,
    eye,
    eyeSlash,
};

/// The side of the square every icon is designed in.
inline constexpr double designSize = 17;

/// The icon as one fillable shape in the 17 x 17 design square.
const QPainterPath& path(Icon icon);

/// Fills the icon scaled into the largest centred square inside `box`.
void paint(QPainter& painter, Icon icon, const QRectF& box, const QColor& color);

} // namespace Icons
} // namespace glimmer
