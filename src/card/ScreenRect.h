#pragma once

#include <algorithm>

namespace glimmer {

/// A point in screen space: points, origin at the bottom-left of the main screen, y up.
struct Point {
    double x = 0;
    double y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

/// A frame in screen space; (x, y) is its bottom-left corner.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double minX() const { return x; }
    double minY() const { return y; }
    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }
    Point origin() const { return {x, y}; }

    /// The overlap of two frames, or an empty frame (zero size) when they do not meet.
    Rect intersection(const Rect& other) const {
        const double left = std::max(minX(), other.minX());
        const double right = std::min(maxX(), other.maxX());
        const double bottom = std::max(minY(), other.minY());
        const double top = std::min(maxY(), other.maxY());
        if (!(right > left) || !(top > bottom)) return {};
        return {left, bottom, right - left, top - bottom};
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

/// One display: its full frame and the part left free by the system's bars.
struct Screen {
    Rect frame;
    Rect visibleFrame;

    friend bool operator==(const Screen&, const Screen&) = default;
};

} // namespace glimmer
