#pragma once

#include "model/Holdings.h"

#include <QFont>
#include <QPointF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;

namespace glimmer {

/// The one-line holdings strip of a card ("今日 +1,234.00  持仓 +5.6 万 +3.45%"), written in a few
/// lengths so the longest that fits a free stretch of the card is shown; it never covers the chart.
namespace HoldingStrip {

/// One labelled figure; `tone` colours the value like a price: above 0 red, below 0 green.
struct Part {
    QString label;
    QString value;
    double tone = 0;
    bool neutral = false; // market value: no gain or loss to colour

    bool operator==(const Part&) const = default;
};
using Line = std::vector<Part>;

/// The lines from the most to the least detailed: market value, today's profit and total profit
/// with its percent; without the market value; the total as a percent only; today's profit alone;
/// the percent alone. Parts the figures lack are left out; amounts are masked in privacy mode.
std::vector<Line> lines(const HoldingFigures& figures, bool privacy);

enum class Slot { header, footer };
struct Placement {
    Slot slot = Slot::footer;
    std::size_t line = 0;

    bool operator==(const Placement&) const = default;
};

/// The most detailed line that fits: the header's second line is tried first for each length, then
/// the footer. None when even the shortest line is wider than both.
std::optional<Placement> place(const std::vector<double>& lineWidths, double headerWidth, double footerWidth);

/// A free stretch of one text line on a card: its ends, the top of the text and which end the strip
/// keeps to.
struct Stretch {
    double left = 0;
    double right = 0;
    double top = 0;
    bool alignRight = false;

    double width() const { return right - left; }
};

/// The chosen line and where it is drawn.
struct Placed {
    Line line;
    Slot slot = Slot::footer;
    QPointF at;
    bool alignRight = false;
};

/// The fonts a strip is drawn in, for one paint device.
struct Fonts {
    QFont label;
    QFont value;
};
Fonts fonts(const QPaintDevice* device);

double width(const Line& line, const Fonts& fonts, const QPaintDevice* device);
std::vector<double> widths(const std::vector<Line>& lines, const Fonts& fonts, const QPaintDevice* device);

/// The strip of `figures` in the header stretch or the footer stretch, measured for `device`.
std::optional<Placed> arrange(const HoldingFigures& figures, bool privacy, const Stretch& header, const Stretch& footer,
                              const QPaintDevice* device);

/// Draws the line with its top at `at.y()`, starting at `at.x()` (or ending there when `alignRight`).
void paint(QPainter& painter, const Placed& strip, bool isDark);

} // namespace HoldingStrip
} // namespace glimmer
