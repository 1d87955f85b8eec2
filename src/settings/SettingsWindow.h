#pragma once

#include "market/SymbolSearch.h"
#include "model/AppConfig.h"
#include "settings/ConfigBinding.h"

#include <QWidget>

#include <functional>

namespace glimmer {

class SettingsRootView;

/// The settings window around the settings form: 660 x 700, resizable down to 620 x 520, drawn in
/// the configured theme and following theme changes made in the form.
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    SettingsWindow(const AppConfig& config, ConfigBinding::EditHandler onEdit, std::function<void()> onTestSound,
                   std::function<void()> onResetPosition, SymbolSearch::Lookup search, QWidget* parent = nullptr);

    SettingsRootView& rootView() const { return *root; }

    /// Told when the window is about to close, so the owner can forget it and build a fresh one
    /// from its current configuration next time.
    std::function<void()> onClose;

    /// Applies the theme mode to the window (dark, light, or the system's).
    void applyTheme(ThemeMode mode);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    SettingsRootView* root = nullptr;
    ThemeMode appliedMode = ThemeMode::system;
};

} // namespace glimmer
