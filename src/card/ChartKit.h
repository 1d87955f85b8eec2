#pragma once

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;

namespace glimmer {

/// Drawing helpers shared by the five charts. All coordinates have y growing downward.
namespace ChartKit {

/// A plot frame: `lo` sits on the bottom edge of `rect`, `hi` on the top edge.
struct Plot {
    QRectF rect;
    double lo = 0;
    double hi = 0;

    /// Unclamped; every value maps to the vertical middle when the range is empty.
    double y(double value) const {
        return hi - lo > 0 ? rect.top() + (hi - value) / (hi - lo) * rect.height() : rect.center().y();
    }
};

enum class Align { left, center, right };

/// Minute slots of the trading day, 09:30-11:30 and 13:00-15:00: 241 slots, 240 gaps.
inline constexpr double tradingDayGaps = 240;

/// x of the i-th minute record on the trading-day axis; a full day reaches the right edge.
inline double slotX(const QRectF& rect, std::size_t index) {
    return rect.left() + double(index) / tradingDayGaps * rect.width();
}

enum class TextStyle { axisValue, legend, timeAxis, emptyState };

/// Digits font (all digits share one advance) at a fractional pixel size for `device`.
QFont digitsFont(double pixelSize, QFont::Weight weight, const QPaintDevice* device);
/// The interface font (Chinese text first) at a fractional pixel size for `device`.
QFont systemFont(double pixelSize, QFont::Weight weight, const QPaintDevice* device);
QFont font(TextStyle style, const QPaintDevice* device);

/// Measured size of one line of text, consistent with what `draw` paints.
QSizeF measure(const QString& text, const QFont& font, const QPaintDevice* device);
/// Draws one line with its top edge at `at.y()`, aligned on `at.x()`; returns the measured size.
QSizeF draw(QPainter& painter, const QString& text, QPointF at, const QFont& font, const QColor& color, Align align);

/// Sub-paths joined across present points only; a missing point breaks the line.
QPainterPath polylinePath(const std::vector<std::optional<QPointF>>& points);
QPainterPath polylinePath(const std::vector<QPointF>& points);
void polyline(QPainter& painter, const std::vector<std::optional<QPointF>>& points, const QColor& color, double width);
void polyline(QPainter& painter, const std::vector<QPointF>& points, const QColor& color, double width);

/// Closed area between the present points and `baseline`; empty with fewer than two points.
QPainterPath filledAreaPath(const std::vector<std::optional<QPointF>>& points, double baseline);
/// The area is drawn without anti-aliasing: its top edge lies under the price line anyway.
void filledArea(QPainter& painter, const std::vector<std::optional<QPointF>>& points, double baseline,
                const QColor& color, const QRectF& clip);

/// Fills `rect` with its edges moved to whole device pixels and no anti-aliasing: crisp bars, and
/// far cheaper than anti-aliased fills of fractional rectangles.
void fillCrispRect(QPainter& painter, const QRectF& rect, const QColor& color);
/// The same for many rectangles in one fill, which keeps a day of bars to one pass over the pixels.
void fillCrispRects(QPainter& painter, const std::vector<QRectF>& rects, const QColor& color);

/// y of each grid line: none below two lines, else evenly from the top edge to the bottom edge.
std::vector<double> gridLineYs(const Plot& plot, int lines);
void horizontalGrid(QPainter& painter, const Plot& plot, int lines, const QColor& color);
/// A full-width horizontal line, snapped to the device pixel grid so thin lines stay sharp.
void horizontalLine(QPainter& painter, double left, double right, double y, const QColor& color, double width,
                    const QVector<qreal>& dashes = {});

/// "09:30", "11:30/13:00" and "15:00" under the plot.
void drawTimeLabels(QPainter& painter, const QRectF& plot, double viewHeight, const QColor& color);
/// Centred single-line message for a chart without data.
void drawEmptyState(QPainter& painter, const QString& text, QSizeF viewSize, const QColor& color);

/// Tops of the value labels beside a plot: the range's top and bottom and a reference value between.
struct RangeLabelTops {
    std::optional<double> top;
    double reference = 0;
    std::optional<double> bottom;
};
/// Keeps the reference label, drops a range label that would overlap it, and keeps the top label
/// from leaving the view.
RangeLabelTops placeRangeLabels(double top, double reference, double bottom, double textHeight);

/// `value` with a fixed count of decimals ("%.2f" for 2).
QString px(double value, int decimals);
/// 3 decimals for prices between 1 and 1000 that carry a third decimal (ETFs), else 2.
int priceDecimals(double value);

/// Anti-aliasing on for lines, shapes and text.
void prepare(QPainter& painter);

} // namespace ChartKit

} // namespace glimmer
