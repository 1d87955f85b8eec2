#pragma once

#include <QFrame>
#include <QString>

#include <optional>

class QLabel;
class QVBoxLayout;

namespace glimmer {

/// A titled card of the settings column: a header row (title, optional one-line subtitle) above
/// the section's controls, on a rounded, faintly outlined background.
class SettingsSection : public QFrame {
    Q_OBJECT

public:
    SettingsSection(const QString& title, const std::optional<QString>& subtitle, QWidget* parent = nullptr);

    QString title() const;
    std::optional<QString> subtitle() const;
    /// Where a section puts its controls, top to bottom.
    QVBoxLayout* contentLayout() const { return content; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* titleLabel = nullptr;
    QLabel* subtitleLabel = nullptr;
    QVBoxLayout* content = nullptr;
};

} // namespace glimmer
