#include "card/CardButton.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace glimmer {

CardButton::CardButton(Icons::Icon icon, QWidget* parent) : QWidget(parent), icon(icon) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    setCursor(Qt::ArrowCursor);
}

void CardButton::setAlpha(double alpha) {
    alpha = std::clamp(alpha, 0.0, 1.0);
    if (alpha == currentAlpha) return;
    currentAlpha = alpha;
    setAttribute(Qt::WA_TransparentForMouseEvents, alpha < clickableAlpha);
    update();
}

void CardButton::setTint(const QColor& tint) {
    if (tint == currentTint) return;
    currentTint = tint;
    update();
}

void CardButton::paintEvent(QPaintEvent*) {
    if (currentAlpha <= 0) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(currentAlpha);
    const QRectF disc = QRectF(rect());
    const double radius = std::min(disc.width(), disc.height()) / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, isPressed ? 0.7f : 0.55f));
    painter.drawRoundedRect(disc, radius, radius);
    // The glyph fills about two thirds of the disc, like a symbol scaled down to fit.
    const double inset = disc.width() * 0.17;
    Icons::paint(painter, icon, disc.adjusted(inset, inset, -inset, -inset), currentTint);
}

void CardButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    isPressed = true;
    update();
}

void CardButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isPressed) return;
    isPressed = false;
    update();
    if (rect().contains(event->position().toPoint()) && onClick) onClick();
}

} // namespace glimmer
