#pragma once

#include "card/ScreenRect.h"

#include <vector>

namespace glimmer {

/// Geometry of overview mode: the header card pinned at the top centre of the visible frame and
/// below it one column of list cards that scrolls as a whole. Frames are in screen space (y up).
struct OverviewLayout {
    static constexpr double gap = 8;
    static constexpr double topInset = 26;
    static constexpr double bottomInset = 24;
    /// The header window's transparent slider gutter (left) and button strip (top).
    static constexpr double leftGutter = 26;
    static constexpr double topStrip = 26;

    /// Window frame of the header card.
    Rect headerFrame;
    /// Window frames of the list cards at scroll offset 0, top to bottom.
    std::vector<Rect> listFrames;
    double contentHeight = 0;
    double visibleHeight = 0;
    double maxScroll = 0;

    /// The plan for `count` securities with cards of `cardWidth` x `cardHeight` (at least 240 x 120).
    static OverviewLayout make(int count, double cardWidth, double cardHeight, const Rect& screen);

    /// List frame `index` moved up by `scrollOffset`.
    Rect scrolledListFrame(std::size_t index, double scrollOffset) const;
    /// `offset` kept within 0 … maxScroll.
    double clampedScroll(double offset) const;
};

} // namespace glimmer
