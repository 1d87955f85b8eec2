#pragma once

#include "card/ScreenRect.h"
#include "card/ScreenSource.h"

#include <QRect>
#include <QRectF>

#include <vector>

namespace glimmer {

/// The one bridge between screen space (origin at the bottom-left of the primary display, y up) and
/// Qt's global coordinates (origin at the top-left of the virtual desktop, y down).
class ScreenSpace {
public:
    /// `primaryGeometry` is the primary display's full frame in Qt's global coordinates.
    explicit ScreenSpace(const QRect& primaryGeometry);
    /// The space of the displays `source` reports now; 1440 x 900 at the origin when there is none.
    static ScreenSpace of(const ScreenSource& source);

    Rect fromGlobal(const QRectF& global) const;
    Rect fromGlobal(const QRect& global) const { return fromGlobal(QRectF(global)); }
    /// Rounded to whole device-independent pixels, as Qt places windows.
    QRect toGlobal(const Rect& frame) const;
    QRectF toGlobalF(const Rect& frame) const;

    /// The displays of `source` in screen space, the primary one first.
    std::vector<Screen> screens(const std::vector<ScreenGeometry>& displays) const;

private:
    double originX;
    double bottomY; // global y of the primary display's bottom edge
};

/// The displays of `source` in screen space, the primary one first.
std::vector<Screen> currentScreens(const ScreenSource& source = ScreenSource::system());

} // namespace glimmer
