#include "card/MinimalSlider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace glimmer {

namespace {

constexpr double knobDiameter = 11;

double clampUnit(double f) { return std::isnan(f) ? 0.0 : std::clamp(f, 0.0, 1.0); }

void fillCapsule(QPainter& painter, const QRectF& rect, const QColor& colour) {
    const double radius = rect.width() / 2;
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.fillPath(path, colour);
}

QColor white(double alpha) { return QColor::fromRgbF(1, 1, 1, float(alpha)); }

} // namespace

MinimalSlider::MinimalSlider(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void MinimalSlider::setMinValue(double value) {
    minimum = value;
    update();
}

void MinimalSlider::setMaxValue(double value) {
    maximum = value;
    update();
}

void MinimalSlider::setValue(double value) {
    current = value;
    update();
}

QRectF MinimalSlider::trackRect(QSizeF size) {
    return {size.width() / 2 - 2.5, 8, 5, std::max(size.height() - 16, 1.0)};
}

double MinimalSlider::fraction(double value, double minValue, double maxValue) {
    return clampUnit((value - minValue) / std::max(maxValue - minValue, 0.0001));
}

double MinimalSlider::knobY(QSizeF size, double fraction) {
    const QRectF track = trackRect(size);
    return track.bottom() - track.height() * fraction;
}

double MinimalSlider::valueAt(double y, QSizeF size, double minValue, double maxValue) {
    const QRectF track = trackRect(size);
    const double f = clampUnit((track.bottom() - y) / track.height());
    return minValue + f * (maxValue - minValue);
}

void MinimalSlider::setAlpha(double alpha) {
    alpha = std::clamp(alpha, 0.0, 1.0);
    if (alpha == opacity) return;
    opacity = alpha;
    update();
}

void MinimalSlider::paintEvent(QPaintEvent*) {
    if (opacity <= 0) return;
    QPainter painter(this);
    painter.setOpacity(opacity);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF size = this->size();
    fillCapsule(painter, QRectF(rect()).adjusted(1, 1, -1, -1), QColor::fromRgbF(0, 0, 0, 0.42f));
    const QRectF track = trackRect(size);
    fillCapsule(painter, track, white(0.22));
    const double y = knobY(size, fraction(current, minimum, maximum));
    if (track.bottom() - y > 0.5) fillCapsule(painter, QRectF(track.left(), y, track.width(), track.bottom() - y), white(0.92));
    QPainterPath knob;
    knob.addEllipse(QPointF(track.center().x(), y), knobDiameter / 2, knobDiameter / 2);
    painter.fillPath(knob, white(0.95));
}

void MinimalSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    isTracking = true;
    pick(event->position().y());
}

void MinimalSlider::mouseMoveEvent(QMouseEvent* event) {
    if (isTracking) pick(event->position().y());
}

void MinimalSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isTracking) return;
    isTracking = false;
    if (onCommit) onCommit();
}

void MinimalSlider::pick(double y) {
    current = valueAt(y, size(), minimum, maximum);
    update();
    if (onChange) onChange(current);
}

} // namespace glimmer
