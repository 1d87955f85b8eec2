#pragma once

#include "model/AppConfig.h"
#include "settings/SettingsSection.h"

#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace glimmer {

class ConfigBinding;

/// The appearance-and-position card: card size, opacity, theme, window modes, refresh and
/// rotation intervals, the views taking part in rotation, and start at login.
class AppearanceSection : public SettingsSection {
    Q_OBJECT

public:
    AppearanceSection(ConfigBinding& binding, std::function<void()> onResetPosition, QWidget* parent = nullptr);

    /// Checking appends the view; unchecking removes every occurrence unless it is the last view.
    static void setViewEnabled(AppConfig& config, ChartView view, bool enabled);
    /// The note under the window-mode switches, which says whether pinned mode is on.
    static QString pinnedNote(bool dockPinned);

private:
    QSpinBox* stepper(int minimum, int maximum, int step, const QString& prefix, const QString& suffix,
                      const std::optional<QString>& offText, double AppConfig::*field);
    QCheckBox* toggle(const QString& label, bool AppConfig::*field);
    QSlider* opacitySlider(QLabel* valueLabel);
    void sync();

    ConfigBinding& binding;
    std::function<void()> onResetPosition;
    std::vector<std::function<void()>> syncers;
};

} // namespace glimmer
