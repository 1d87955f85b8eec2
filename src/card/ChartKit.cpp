#include "card/ChartKit.h"

#include "model/TextFormat.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace glimmer::ChartKit {
namespace {

// DejaVu Sans draws every digit with the same advance, so columns of numbers do not jitter; Chinese
// characters fall through to Noto Sans CJK.
const QStringList& digitsFamilies() {
    static const QStringList families{QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};
    return families;
}

const QStringList& systemFamilies() {
    static const QStringList families{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")};
    return families;
}

double logicalDpi(const QPaintDevice* device) {
    const int dpi = device ? device->logicalDpiY() : 0;
    return dpi > 0 ? dpi : 96.0;
}

// Fonts are built on every paint of every chart; the cache keeps that off the hot path.
QFont cachedFont(bool digits, double pixelSize, QFont::Weight weight, const QPaintDevice* device) {
    using Key = std::tuple<bool, long, int, long>;
    static std::map<Key, QFont> cache;
    const double dpi = logicalDpi(device);
    const Key key{digits, std::lround(pixelSize * 100), int(weight), std::lround(dpi * 100)};
    const auto found = cache.find(key);
    if (found != cache.end()) return found->second;
    QFont font;
    font.setFamilies(digits ? digitsFamilies() : systemFamilies());
    // Point sizes take fractions where pixel sizes do not; converting through the device's DPI keeps
    // an 8.5 px label 8.5 px.
    font.setPointSizeF(pixelSize * 72.0 / dpi);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    cache.emplace(key, font);
    return font;
}

// A corrupt value from a provider becomes NaN or infinity on screen; such points are gaps.
bool isFinite(QPointF point) {
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

double snapToPixel(double y, double width, double ratio) {
    const double deviceWidth = std::max(1.0, std::round(width * ratio));
    const double deviceY = y * ratio;
    const bool odd = int(deviceWidth) % 2 == 1;
    return (odd ? std::floor(deviceY) + 0.5 : std::round(deviceY)) / ratio;
}

} // namespace

QFont digitsFont(double pixelSize, QFont::Weight weight, const QPaintDevice* device) {
    return cachedFont(true, pixelSize, weight, device);
}

QFont systemFont(double pixelSize, QFont::Weight weight, const QPaintDevice* device) {
    return cachedFont(false, pixelSize, weight, device);
}

QFont font(TextStyle style, const QPaintDevice* device) {
    switch (style) {
    case TextStyle::axisValue:
        return digitsFont(8.5, QFont::Medium, device);
    case TextStyle::legend:
        return digitsFont(8.0, QFont::Medium, device);
    case TextStyle::timeAxis:
        return digitsFont(7.5, QFont::Medium, device);
    case TextStyle::emptyState:
        break;
    }
    return systemFont(11, QFont::Normal, device);
}

QSizeF measure(const QString& text, const QFont& font, const QPaintDevice* device) {
    const QFontMetricsF metrics(font, device);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QSizeF draw(QPainter& painter, const QString& text, QPointF at, const QFont& font, const QColor& color, Align align) {
    const QFontMetricsF metrics(font, painter.device());
    const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
    double x = at.x();
    if (align == Align::center) x -= size.width() / 2;
    if (align == Align::right) x -= size.width();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QPointF(x, at.y() + metrics.ascent()), text);
    return size;
}

QPainterPath polylinePath(const std::vector<std::optional<QPointF>>& points) {
    QPainterPath path;
    bool previousPresent = false;
    for (const auto& point : points) {
        if (!point) {
            previousPresent = false;
            continue;
        }
        if (previousPresent) {
            path.lineTo(*point);
        } else {
            path.moveTo(*point);
        }
        previousPresent = true;
    }
    return path;
}

QPainterPath polylinePath(const std::vector<QPointF>& points) {
    QPainterPath path;
    if (points.empty()) return path;
    path.reserve(int(points.size()));
    path.moveTo(points.front());
    for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
    return path;
}

namespace {

// Qt's anti-aliased fill of a wide stroke outline costs milliseconds for a jagged minute line, while
// its one-pixel line drawer costs microseconds. A wide line is therefore laid down as one-pixel
// passes offset across the width, vertically and horizontally, which covers the same pixels.
void strokeRun(QPainter& painter, const QPointF* points, int count, double width) {
    if (count < 2) return;
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double deviceWidth = width * ratio;
    if (deviceWidth <= 1.0) {
        painter.drawPolyline(points, count);
        return;
    }
    const int passes = int(std::ceil(deviceWidth - 1)) + 1;
    const double spread = (deviceWidth - 1) / 2 / ratio;
    std::vector<QPointF> shifted(points, points + count);
    for (int axis = 0; axis < 2; ++axis) {
        for (int k = 0; k < passes; ++k) {
            const double offset = -spread + 2 * spread * k / (passes - 1);
            if (axis == 1 && std::fabs(offset) < 1e-9) continue; // the centre pass is already drawn
            const QPointF shift = axis == 0 ? QPointF(0, offset) : QPointF(offset, 0);
            for (int i = 0; i < count; ++i) shifted[std::size_t(i)] = points[i] + shift;
            painter.drawPolyline(shifted.data(), count);
        }
    }
}

void setLinePen(QPainter& painter, const QColor& color, double width) {
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    QPen pen(color, 1.0);
    pen.setCosmetic(true);
    // Thinner than a device pixel: keep the width so the line fades instead of growing.
    if (width * ratio < 1.0) pen.setWidthF(width * ratio);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
}

} // namespace

void polyline(QPainter& painter, const std::vector<std::optional<QPointF>>& points, const QColor& color, double width) {
    setLinePen(painter, color, width);
    std::vector<QPointF> run;
    run.reserve(points.size());
    for (const auto& point : points) {
        if (point && isFinite(*point)) {
            run.push_back(*point);
            continue;
        }
        strokeRun(painter, run.data(), int(run.size()), width);
        run.clear();
    }
    strokeRun(painter, run.data(), int(run.size()), width);
}

void polyline(QPainter& painter, const std::vector<QPointF>& points, const QColor& color, double width) {
    if (std::all_of(points.begin(), points.end(), isFinite)) {
        setLinePen(painter, color, width);
        strokeRun(painter, points.data(), int(points.size()), width);
        return;
    }
    polyline(painter, std::vector<std::optional<QPointF>>(points.begin(), points.end()), color, width);
}

QPainterPath filledAreaPath(const std::vector<std::optional<QPointF>>& points, double baseline) {
    std::vector<QPointF> present;
    present.reserve(points.size());
    for (const auto& point : points) {
        if (point && isFinite(*point)) present.push_back(*point);
    }
    QPainterPath path;
    if (present.size() < 2) return path;
    path.reserve(int(present.size()) + 3);
    path.moveTo(present.front().x(), baseline);
    for (const auto& point : present) path.lineTo(point);
    path.lineTo(present.back().x(), baseline);
    path.closeSubpath();
    return path;
}

void filledArea(QPainter& painter, const std::vector<std::optional<QPointF>>& points, double baseline,
                const QColor& color, const QRectF& clip) {
    const QPainterPath path = filledAreaPath(points, baseline);
    if (path.isEmpty()) return;
    // In bands of whole device rows, for the same thread hand-off reason as fillCrispRects.
    const QRectF area = path.boundingRect() & clip;
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double band = 64 / ratio;
    for (double top = std::floor(area.top() * ratio) / ratio; top < area.bottom(); top += band) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setClipRect(QRectF(area.left() - 1, top, area.width() + 2, band) & clip, Qt::IntersectClip);
        painter.fillPath(path, color);
        painter.restore();
    }
}

namespace {
QRectF snapToDevice(const QTransform& toDevice, const QTransform& fromDevice, const QRectF& rect) {
    const QRectF device = toDevice.mapRect(rect);
    const double left = std::round(device.left());
    const double top = std::round(device.top());
    double right = std::round(device.right());
    double bottom = std::round(device.bottom());
    // Never let a thin bar vanish: at least one device pixel each way, kept on the bar's base.
    if (right - left < 1) right = left + 1;
    if (bottom - top < 1) return fromDevice.mapRect(QRectF(QPointF(left, bottom - 1), QPointF(right, bottom)));
    return fromDevice.mapRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
}
} // namespace

void fillCrispRect(QPainter& painter, const QRectF& rect, const QColor& color) {
    fillCrispRects(painter, {rect}, color);
}

void fillCrispRects(QPainter& painter, const std::vector<QRectF>& rects, const QColor& color) {
    if (rects.empty()) return;
    const QTransform toDevice = painter.deviceTransform();
    const QTransform fromDevice = toDevice.inverted();
    const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Qt hands translucent fills taller than about 96 rows to its thread pool, and on a chart this
    // small the hand-off costs far more than the fill; bands of whole device rows leave no seams.
    constexpr double band = 64;
    for (const auto& rect : rects) {
        if (!isFinite(rect.topLeft()) || !isFinite(rect.bottomRight())) continue;
        const QRectF device = toDevice.mapRect(snapToDevice(toDevice, fromDevice, rect));
        for (double top = device.top(); top < device.bottom(); top += band) {
            const QRectF piece(device.left(), top, device.width(), std::min(band, device.bottom() - top));
            painter.fillRect(fromDevice.mapRect(piece), color);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
}

std::vector<double> gridLineYs(const Plot& plot, int lines) {
    std::vector<double> ys;
    if (lines < 2) return ys;
    ys.reserve(std::size_t(lines));
    for (int i = 0; i < lines; ++i) ys.push_back(plot.rect.top() + double(i) / (lines - 1) * plot.rect.height());
    return ys;
}

void horizontalGrid(QPainter& painter, const Plot& plot, int lines, const QColor& color) {
    for (double y : gridLineYs(plot, lines))
        horizontalLine(painter, plot.rect.left(), plot.rect.right(), y, color, 0.5);
}

void horizontalLine(QPainter& painter, double left, double right, double y, const QColor& color, double width,
                    const QVector<qreal>& dashes) {
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double snapped = snapToPixel(y, width, ratio);
    QPen pen(color, width);
    pen.setCapStyle(Qt::FlatCap);
    if (!dashes.isEmpty()) {
        // Qt measures dashes in pen widths, counting widths below one as one; the pattern is in points.
        const double unit = std::max(width, 1.0);
        QVector<qreal> pattern;
        pattern.reserve(dashes.size());
        for (qreal length : dashes) pattern.push_back(length / unit);
        pen.setDashPattern(pattern);
        pen.setDashOffset(0);
    }
    painter.setPen(pen);
    painter.drawLine(QPointF(left, snapped), QPointF(right, snapped));
}

void drawTimeLabels(QPainter& painter, const QRectF& plot, double viewHeight, const QColor& color) {
    const QFont labelFont = font(TextStyle::timeAxis, painter.device());
    const double y = viewHeight - 11;
    draw(painter, QStringLiteral("09:30"), {plot.left(), y}, labelFont, color, Align::left);
    draw(painter, QStringLiteral("11:30/13:00"), {plot.center().x(), y}, labelFont, color, Align::center);
    draw(painter, QStringLiteral("15:00"), {plot.right(), y}, labelFont, color, Align::right);
}

void drawEmptyState(QPainter& painter, const QString& text, QSizeF viewSize, const QColor& color) {
    const QFont emptyFont = font(TextStyle::emptyState, painter.device());
    const QSizeF size = measure(text, emptyFont, painter.device());
    draw(painter, text, {viewSize.width() / 2, viewSize.height() / 2 - size.height() / 2}, emptyFont, color,
         Align::center);
}

RangeLabelTops placeRangeLabels(double top, double reference, double bottom, double textHeight) {
    RangeLabelTops tops;
    tops.reference = std::max(reference, 0.0);
    const double topY = std::max(top, 0.0);
    if (std::fabs(topY - tops.reference) >= textHeight) tops.top = topY;
    if (std::fabs(bottom - tops.reference) >= textHeight) tops.bottom = bottom;
    return tops;
}

QString px(double value, int decimals) {
    return QString::fromStdString(TextFormat::fixed(value, std::clamp(decimals, 0, 12)));
}

int priceDecimals(double value) {
    const double magnitude = std::fabs(value);
    if (magnitude >= 1 && magnitude < 1000) {
        // Against the nearest whole cent: 2.3 * 100 is 229.99999999999997 in binary, still two decimals.
        const double cents = value * 100;
        if (std::fabs(cents - std::round(cents)) > 0.0001) return 3;
    }
    return 2;
}

void prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

} // namespace glimmer::ChartKit
