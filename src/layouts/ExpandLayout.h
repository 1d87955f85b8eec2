#pragma once

#include "card/ScreenRect.h"
#include "model/ChartView.h"

#include <array>
#include <vector>

namespace glimmer {

/// Geometry of expand mode: the main card in the top-right corner of the visible frame and the four
/// sub-chart panels hanging below it, right edges aligned. Frames are in screen space (y up).
namespace ExpandLayout {

/// The charts of the sub panels from the top.
inline constexpr std::array<ChartView, 4> subViews{ChartView::macd, ChartView::fundFlow, ChartView::volume,
                                                   ChartView::dailyCandles};
/// Unscaled panel heights, same order.
inline constexpr std::array<double, 4> heights{150, 150, 130, 200};
inline constexpr double gap = 6;
inline constexpr double margin = 16;
inline constexpr double topInset = 12;
inline constexpr double bottomInset = 16;
/// Short screens shrink the column, never below this.
inline constexpr double minimumScale = 0.72;
/// The panel is this much larger than the card body (the slider gutter and the button strip).
inline constexpr double panelMargin = 26;

struct Plan {
    Rect main;
    std::vector<Rect> subs;
};

/// Scale that fits the column into `available` points.
double scaleFor(double available);

/// The column's frames, the first one `gap` below `top`, the rest `gap` apart.
std::vector<Rect> column(double x, double top, double width, double scale);

/// Main panel of `mainWidth` x `mainHeight` in the top-right corner of `screen` and the column
/// below it, at least 320 wide.
Plan layout(double mainWidth, double mainHeight, double cardWidth, const Rect& screen);

/// The column rebuilt under a main panel that stays where it is (after a resize): at least 240 wide.
std::vector<Rect> relayout(const Rect& main, const Rect& screen);

/// `origin` moved so a `width` x `height` frame lies inside `screen`.
Point clampedOrigin(Point origin, double width, double height, const Rect& screen);

} // namespace ExpandLayout
} // namespace glimmer
