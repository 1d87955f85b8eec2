#include "card/DockGeometry.h"

#include <algorithm>

namespace glimmer::DockGeometry {

namespace {

double overlapArea(const Rect& a, const Rect& b) {
    const Rect overlap = a.intersection(b);
    return overlap.width * overlap.height;
}

// A frame's coordinate clamped so it stays inside [low, high - length]; a longer frame keeps `low`.
double clampedStart(double start, double length, double low, double high) {
    return std::min(std::max(low, high - length), std::max(start, low));
}

} // namespace

Rect visibleFrame(const Rect& frame, const std::vector<Screen>& screens) {
    if (screens.empty()) return fallbackVisibleFrame;
    const Screen* best = nullptr;
    double bestArea = 0;
    for (const Screen& screen : screens) {
        const double area = overlapArea(screen.frame, frame);
        if (best == nullptr || area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    return bestArea > 0 ? best->visibleFrame : screens.front().visibleFrame;
}

std::optional<DockSide> dockSide(const Rect& frame, const Rect& visible, double tolerance) {
    const double leftGap = frame.minX() - visible.minX();
    const double rightGap = visible.maxX() - frame.maxX();
    if (std::min(leftGap, rightGap) > tolerance) return std::nullopt;
    return rightGap < leftGap ? DockSide::right : DockSide::left;
}

Rect dockedFrame(const Rect& frame, DockSide side, const Rect& visible) {
    Rect docked = frame;
    docked.x = side == DockSide::right ? visible.maxX() - frame.width : visible.minX();
    docked.y = std::min(std::max(visible.minY(), visible.maxY() - frame.height), std::max(visible.minY(), frame.y));
    return docked;
}

Rect clampedFrame(const Rect& frame, const Rect& visible) {
    Rect clamped = frame;
    clamped.x = clampedStart(frame.x, frame.width, visible.minX(), visible.maxX());
    clamped.y = clampedStart(frame.y, frame.height, visible.minY(), visible.maxY());
    return clamped;
}

bool isOffAllScreens(const Rect& frame, const std::vector<Screen>& screens) {
    return std::none_of(screens.begin(), screens.end(), [&](const Screen& screen) {
        const Rect overlap = screen.visibleFrame.intersection(frame);
        return overlap.width >= 40 && overlap.height >= 40;
    });
}

} // namespace glimmer::DockGeometry
