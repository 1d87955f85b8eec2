#include "settings/SettingsSection.h"

#include "card/Theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace glimmer {

namespace {

/// `label`'s own font at a fractional pixel size: point sizes take fractions where pixel sizes
/// do not, so the size goes through the label's DPI.
QFont headerFont(const QLabel* label, double pixels, QFont::Weight weight) {
    QFont font = label->font();
    const int dpi = label->logicalDpiY();
    font.setPointSizeF(pixels * 72.0 / (dpi > 0 ? dpi : 96));
    font.setWeight(weight);
    return font;
}

void setTextColour(QLabel* label, QColor colour) {
    QPalette palette = label->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

SettingsSection::SettingsSection(const QString& title, const std::optional<QString>& subtitle, QWidget* parent)
    : QFrame(parent) {
    setAccessibleName(title);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(13, 13, 13, 13);
    column->setSpacing(9);

    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    titleLabel = new QLabel(title, this);
    titleLabel->setFont(headerFont(titleLabel, titleSize, QFont::DemiBold));
    header->addWidget(titleLabel, 0, Qt::AlignBottom);
    if (subtitle) {
        subtitleLabel = new QLabel(*subtitle, this);
        subtitleLabel->setFont(headerFont(subtitleLabel, subtitleSize, QFont::Normal));
        // Long hints wrap at narrow widths instead of being cut off.
        subtitleLabel->setWordWrap(true);
        header->addWidget(subtitleLabel, 1, Qt::AlignBottom);
    } else {
        header->addStretch(1);
    }
    column->addLayout(header);

    content = new QVBoxLayout;
    content->setSpacing(8);
    column->addLayout(content);
    applyHeaderColours();
}

void SettingsSection::applyHeaderColours() {
    // The palette in force says which theme the window shows.
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    QColor secondary = Theme::textSecondary().resolve(dark);
    setTextColour(titleLabel, secondary);
    if (subtitleLabel != nullptr) {
        secondary.setAlphaF(float(subtitleAlpha));
        setTextColour(subtitleLabel, secondary);
    }
}

void SettingsSection::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) applyHeaderColours();
}

QString SettingsSection::title() const {
    return titleLabel->text();
}

std::optional<QString> SettingsSection::subtitle() const {
    if (!subtitleLabel) return std::nullopt;
    return subtitleLabel->text();
}

void SettingsSection::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = palette().color(QPalette::Base);
    fill.setAlphaF(0.85f);
    QColor outline = palette().color(QPalette::WindowText);
    outline.setAlphaF(0.06f);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
    painter.fillPath(card, fill);
    painter.setPen(QPen(outline, 1));
    painter.drawPath(card);
}

} // namespace glimmer
