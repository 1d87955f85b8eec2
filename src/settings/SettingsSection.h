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

    /// The header's text sizes, in pixels (points of the interface's own scale).
    static constexpr double titleSize = 12.5;
    static constexpr double subtitleSize = 10.5;
    /// The title is in the secondary text colour, the subtitle in it at this alpha.
    static constexpr double subtitleAlpha = 0.7;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    /// Header colours from the current palette, so a theme switch reaches them too.
    void applyHeaderColours();

    QLabel* titleLabel = nullptr;
    QLabel* subtitleLabel = nullptr;
    QVBoxLayout* content = nullptr;
};

} // namespace glimmer
