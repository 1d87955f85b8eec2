#include "settings/SettingsWidgets.h"

#include <QPainter>
#include <QPainterPath>

namespace glimmer {

namespace {

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

} // namespace

CapsuleLabel::CapsuleLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    setAlignment(Qt::AlignCenter);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CapsuleLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 14, metrics.height() + 2};
}

void CapsuleLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor text = palette().color(QPalette::WindowText);
    QPainterPath capsule;
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    capsule.addRoundedRect(box, box.height() / 2, box.height() / 2);
    painter.fillPath(capsule, withAlpha(text, 0.08));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter, QLabel::text());
}

HairLine::HairLine(QWidget* parent) : QWidget(parent) {
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void HairLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), withAlpha(palette().color(QPalette::WindowText), 0.10));
}

SoftPanel::SoftPanel(QWidget* parent) : QWidget(parent) {
}

void SoftPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath panel;
    panel.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.fillPath(panel, withAlpha(palette().color(QPalette::WindowText), 0.04));
}

TintButton::TintButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setCheckable(true);
    setAutoDefault(false);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TintButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 20, metrics.height() + 8};
}

void TintButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = palette().color(QPalette::Highlight); // the theme accent
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath tile;
    tile.addRoundedRect(box, 5, 5);
    double tint = isChecked() ? 0.22 : 0.06;
    if (isDown()) tint += 0.08;
    painter.fillPath(tile, withAlpha(accent, tint));
    if (hasFocus()) {
        painter.setPen(QPen(accent, 1.2));
        painter.drawPath(tile);
    }
    QColor text = palette().color(QPalette::WindowText);
    if (!isEnabled()) text = withAlpha(text, 0.4);
    painter.setPen(text);
    painter.drawText(rect(), Qt::AlignCenter, QPushButton::text());
}

} // namespace glimmer
