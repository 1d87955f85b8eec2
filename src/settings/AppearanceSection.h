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
class QVBoxLayout;

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
    // One row each, top to bottom.
    void addSizeRow(QVBoxLayout* column);
    void addOpacityRow(QVBoxLayout* column);
    void addThemeRow(QVBoxLayout* column);
    /// The always-on-top and pinned switches, the reset button and the note under them.
    void addWindowModeRows(QVBoxLayout* column);
    void addRefreshRow(QVBoxLayout* column);
    void addRotationRow(QVBoxLayout* column);
    /// One box per chart and the hint under them.
    void addViewRows(QVBoxLayout* column);
    void addSwitchRow(QVBoxLayout* column);

    /// Two steppers of one width side by side.
    void addStepperPair(QVBoxLayout* column, QSpinBox* first, QSpinBox* second, int width);
    QCheckBox* viewBox(ChartView view, const char* label);
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
