#pragma once

#include "model/AppConfig.h"
#include "settings/SettingsWindow.h"

#include <QPointer>

#include <functional>

namespace glimmer {

/// Keeps at most one settings window: opens it on the current configuration, brings an open one
/// forward, keeps its working copy in step with changes made elsewhere, and forgets it when it
/// closes so the next one starts from the configuration of then.
class SettingsHost {
public:
    struct Callbacks {
        ConfigBinding::EditHandler onEdit;
        std::function<void()> onTestSound;
        std::function<void()> onResetPosition;
        SymbolSearch::Lookup search;
    };

    explicit SettingsHost(Callbacks callbacks);
    ~SettingsHost();
    SettingsHost(const SettingsHost&) = delete;
    SettingsHost& operator=(const SettingsHost&) = delete;

    void openSettings(const AppConfig& config);
    /// The configuration changed outside the window (card, overview, quotes, placement).
    void follow(const AppConfig& config);
    /// The settings window was closed.
    void windowWillClose();
    void applyTheme(ThemeMode mode);

    SettingsWindow* settingsWindow() const { return window.data(); }

private:
    Callbacks callbacks;
    QPointer<SettingsWindow> window;
};

} // namespace glimmer
