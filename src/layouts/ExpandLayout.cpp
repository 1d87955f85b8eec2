#include "layouts/ExpandLayout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace glimmer::ExpandLayout {

namespace {

constexpr double totalHeight = heights[0] + heights[1] + heights[2] + heights[3];

} // namespace

double scaleFor(double available) {
    if (available < totalHeight && totalHeight > 0) return std::max(available / totalHeight, minimumScale);
    return 1;
}

std::vector<Rect> column(double x, double top, double width, double scale) {
    std::vector<Rect> frames;
    frames.reserve(heights.size());
    double y = top - gap;
    for (double unscaled : heights) {
        const double h = std::round(scale * unscaled);
        frames.push_back({x, y - h, width, h});
        y -= h + gap;
    }
    return frames;
}

Plan layout(double mainWidth, double mainHeight, double cardWidth, const Rect& screen) {
    const double available = screen.height - topInset - bottomInset - mainHeight - gap * 4;
    Plan plan;
    plan.main = {screen.maxX() - margin - mainWidth, screen.maxY() - topInset - mainHeight, mainWidth, mainHeight};
    const double width = std::max(cardWidth, 320.0);
    plan.subs = column(screen.maxX() - margin - width, plan.main.minY(), width, scaleFor(available));
    return plan;
}

std::vector<Rect> relayout(const Rect& main, const Rect& screen) {
    const double width = std::max(main.width - panelMargin, 240.0);
    const double available = main.minY() - gap * 4 - bottomInset - screen.minY();
    return column(main.maxX() - width, main.minY(), width, scaleFor(available));
}

Point clampedOrigin(Point origin, double width, double height, const Rect& screen) {
    // Written as min(max(...)) rather than std::clamp: a frame larger than the screen is not an error.
    return {std::min(std::max(origin.x, screen.minX()), screen.maxX() - width),
            std::min(std::max(origin.y, screen.minY()), screen.maxY() - height)};
}

} // namespace glimmer::ExpandLayout
