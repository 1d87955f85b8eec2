#pragma once

#include "model/AppConfig.h"
#include "settings/SettingsWindow.h"

#include <memory>
#include <string>
#include <vector>

namespace glimmer::testing {

/// A configuration as a user who has used the program for a while would have it: five securities,
/// one of them hidden, three price alerts, a tuned alert set and a custom hot key.
AppConfig livedInConfig();

/// A settings window on a configuration, standing in for the application that owns it: applies
/// each edit to its own copy, records every save and every press of the two actions. Symbol lookups
/// go to `search`, by default one that finds nothing.
class SettingsHarness {
public:
    explicit SettingsHarness(const AppConfig& config, SymbolSearch::Lookup search = {});

    SettingsWindow& window() { return *settings; }
    SettingsRootView& root() { return settings->rootView(); }
    const AppConfig& config();

    template <typename T> T* find(const QString& objectName) { return settings->findChild<T*>(objectName); }
    template <typename T> T* byAccessibleName(const QString& name) {
        for (T* w : settings->findChildren<T*>())
            if (w->accessibleName() == name) return w;
        return nullptr;
    }

    /// The application's configuration, which every edit of the window is applied to.
    AppConfig owner;
    std::vector<AppConfig> saves;
    int testSoundPresses = 0, resetPresses = 0;

private:
    std::unique_ptr<SettingsWindow> settings;
};

std::vector<std::string> codesOf(const AppConfig& config);

} // namespace glimmer::testing
