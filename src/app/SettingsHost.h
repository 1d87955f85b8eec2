#pragma once

#include "model/AppConfig.h"
#include "settings/SettingsWindow.h"

#include <QPointer>

#include <functional>

namespace glimmer {

/// Keeps at most one settings window: opens it on the current configuration, brings an open one
/// forward, and forgets it when it closes so the next one starts from the configuration of then.
class SettingsHost {
public:
    struct Callbacks {
        std::function<void(const AppConfig&)> onSave;
        std::function<void()> onTestSound;
        std::function<void()> onResetPosition;
    };

    explicit SettingsHost(Callbacks callbacks);
    ~SettingsHost();
    SettingsHost(const SettingsHost&) = delete;
    SettingsHost& operator=(const SettingsHost&) = delete;

    void openSettings(const AppConfig& config);
    /// The settings window was closed.
    void windowWillClose();
    void applyTheme(ThemeMode mode);

    SettingsWindow* settingsWindow() const { return window.data(); }

private:
    Callbacks callbacks;
    QPointer<SettingsWindow> window;
};

} // namespace glimmer
