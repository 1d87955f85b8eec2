#include "card/ScreenSpace.h"

#include <cmath>

namespace glimmer {

ScreenSpace::ScreenSpace(const QRect& primaryGeometry)
    : originX(primaryGeometry.x()), bottomY(double(primaryGeometry.y()) + primaryGeometry.height()) {}

ScreenSpace ScreenSpace::of(const ScreenSource& source) {
    const std::vector<ScreenGeometry> displays = source.screens();
    return ScreenSpace(displays.empty() ? QRect(0, 0, 1440, 900) : displays.front().geometry);
}

Rect ScreenSpace::fromGlobal(const QRectF& global) const {
    return {global.x() - originX, bottomY - (global.y() + global.height()), global.width(), global.height()};
}

QRectF ScreenSpace::toGlobalF(const Rect& frame) const {
    return {frame.x + originX, bottomY - (frame.y + frame.height), frame.width, frame.height};
}

QRect ScreenSpace::toGlobal(const Rect& frame) const {
    const QRectF global = toGlobalF(frame);
    return QRect(int(std::lround(global.x())), int(std::lround(global.y())), int(std::lround(global.width())),
                 int(std::lround(global.height())));
}

std::vector<Screen> ScreenSpace::screens(const std::vector<ScreenGeometry>& displays) const {
    std::vector<Screen> result;
    result.reserve(displays.size());
    for (const ScreenGeometry& display : displays)
        result.push_back({fromGlobal(display.geometry), fromGlobal(display.availableGeometry)});
    return result;
}

std::vector<Screen> currentScreens(const ScreenSource& source) {
    const std::vector<ScreenGeometry> displays = source.screens();
    const ScreenSpace space(displays.empty() ? QRect(0, 0, 1440, 900) : displays.front().geometry);
    return space.screens(displays);
}

} // namespace glimmer
