#include "settings/SettingsSection.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace glimmer {

SettingsSection::SettingsSection(const QString& title, const std::optional<QString>& subtitle, QWidget* parent)
    : QFrame(parent) {
    setAccessibleName(title);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(13, 13, 13, 13);
    column->setSpacing(9);

    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    titleLabel = new QLabel(title, this);
    QFont titleFont = titleLabel->font();
    titleFont.setPixelSize(13);
    titleFont.setWeight(QFont::DemiBold);
    titleLabel->setFont(titleFont);
    titleLabel->setForegroundRole(QPalette::PlaceholderText);
    header->addWidget(titleLabel, 0, Qt::AlignBottom);
    if (subtitle) {
        subtitleLabel = new QLabel(*subtitle, this);
        QFont subtitleFont = subtitleLabel->font();
        subtitleFont.setPixelSize(11);
        subtitleLabel->setFont(subtitleFont);
        subtitleLabel->setForegroundRole(QPalette::PlaceholderText);
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
