#include "settings/SettingsControls.h"

#include "model/TextFormat.h"
#include "settings/SettingsWidgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSpinBox>
#include <QToolButton>

#include <cmath>

namespace glimmer::SettingsControls {

QLabel* hint(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont small = label->font();
    small.setPixelSize(11);
    label->setFont(small);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QLabel* text(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

QCheckBox* toggle(const QString& label, QWidget* parent) {
    auto* box = new QCheckBox(label, parent);
    box->setAccessibleName(label);
    return box;
}

QSpinBox* stepper(int minimum, int maximum, int step, const QString& prefix, const QString& suffix,
                  const std::optional<QString>& offText, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(minimum, maximum);
    box->setSingleStep(step);
    box->setPrefix(prefix);
    box->setSuffix(suffix);
    if (offText) box->setSpecialValueText(*offText);
    // Values change only when a step or a finished entry lands, not on every typed digit.
    box->setKeyboardTracking(false);
    box->setAccelerated(false);
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    box->setAccessibleName(prefix.trimmed());
    return box;
}

QLineEdit* numberField(int width, const QString& prompt, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setFixedWidth(width);
    field->setPlaceholderText(prompt);
    field->setAccessibleName(prompt);
    return field;
}

QString kindText(InstrumentKind kind) {
    return kind == InstrumentKind::etf ? QStringLiteral("ETF") : QStringLiteral("股票");
}

QLabel* kindTag(InstrumentKind kind, QWidget* parent) {
    return new CapsuleLabel(kindText(kind), parent);
}

QWidget* divider(QWidget* parent) {
    return new HairLine(parent);
}

QToolButton* iconButton(const QIcon& icon, const QString& accessibleName, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setIcon(icon);
    button->setIconSize(QSize(14, 14));
    button->setAutoRaise(true);
    button->setToolTip(accessibleName);
    button->setAccessibleName(accessibleName);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void retire(QWidget* widget) {
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater();
}

void chainFocusAfter(QWidget* anchor, std::initializer_list<QWidget*> containers) {
    QWidget* previous = anchor;
    for (QWidget* container : containers) {
        for (QWidget* w : container->findChildren<QWidget*>()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || w->window() != anchor->window()) continue;
            QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }
}

QString formatNumber(double value) {
    return QString::fromStdString(TextFormat::shortest(value));
}

std::optional<double> parseNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

namespace {

void drawArrow(QPainter& p, bool up) {
    const qreal tip = up ? 2.5 : 13.5;
    const qreal base = up ? 13.5 : 2.5;
    p.drawLine(QPointF(8, tip), QPointF(8, base));
    const qreal wing = up ? tip + 4.5 : tip - 4.5;
    p.drawLine(QPointF(8, tip), QPointF(3.5, wing));
    p.drawLine(QPointF(8, tip), QPointF(12.5, wing));
}

void drawEye(QPainter& p, bool slashed) {
    QPainterPath lid;
    lid.moveTo(1.5, 8);
    lid.quadTo(8, 1, 14.5, 8);
    lid.quadTo(8, 15, 1.5, 8);
    p.drawPath(lid);
    p.drawEllipse(QPointF(8, 8), 2.3, 2.3);
    if (slashed) p.drawLine(QPointF(2.5, 13.5), QPointF(13.5, 2.5));
}

void drawTrash(QPainter& p) {
    p.drawLine(QPointF(2, 4), QPointF(14, 4));
    p.drawLine(QPointF(6, 4), QPointF(6.5, 2));
    p.drawLine(QPointF(6.5, 2), QPointF(9.5, 2));
    p.drawLine(QPointF(9.5, 2), QPointF(10, 4));
    QPainterPath can;
    can.moveTo(3.5, 4);
    can.lineTo(4.5, 14);
    can.lineTo(11.5, 14);
    can.lineTo(12.5, 4);
    p.drawPath(can);
    p.drawLine(QPointF(6.5, 6.5), QPointF(6.8, 11.5));
    p.drawLine(QPointF(9.5, 6.5), QPointF(9.2, 11.5));
}

} // namespace

QIcon lineIcon(const QString& name, const QColor& color) {
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(16 * scale, 16 * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(color, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        if (name == QLatin1String("arrow.up"))
            drawArrow(p, true);
        else if (name == QLatin1String("arrow.down"))
            drawArrow(p, false);
        else if (name == QLatin1String("eye"))
            drawEye(p, false);
        else if (name == QLatin1String("eye.slash"))
            drawEye(p, true);
        else if (name == QLatin1String("trash"))
            drawTrash(p);
        else
            return {};
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace glimmer::SettingsControls
