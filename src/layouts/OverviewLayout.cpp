#include "layouts/OverviewLayout.h"

#include <algorithm>
#include <cmath>

namespace glimmer {

OverviewLayout OverviewLayout::make(int count, double cardWidth, double cardHeight, const Rect& screen) {
    const double w = std::max(cardWidth, 240.0);
    const double h = std::max(cardHeight, 120.0);
    const double x = std::round(screen.midX() - w / 2);
    OverviewLayout plan;
    plan.headerFrame = {x - leftGutter, screen.maxY() - topInset - (h + topStrip), w + leftGutter, h + topStrip};
    if (count < 1) return plan;

    const double listTop = plan.headerFrame.minY() - gap;
    plan.visibleHeight = std::max(listTop - (screen.minY() + bottomInset), 0.0);
    const int k = count - 1;
    plan.listFrames.reserve(std::size_t(k));
    for (int i = 0; i < k; ++i) plan.listFrames.push_back({x, listTop - h * (i + 1) - gap * i, w, h});
    plan.contentHeight = h * k + gap * (std::max(k, 1) - 1);
    plan.maxScroll = std::max(plan.contentHeight - plan.visibleHeight, 0.0);
    return plan;
}

Rect OverviewLayout::scrolledListFrame(std::size_t index, double scrollOffset) const {
    Rect frame = listFrames.at(index);
    frame.y += scrollOffset;
    return frame;
}

double OverviewLayout::clampedScroll(double offset) const {
    // NaN from a broken wheel event falls back to the top.
    if (!(offset > 0)) return 0;
    return std::min(offset, maxScroll);
}

} // namespace glimmer
