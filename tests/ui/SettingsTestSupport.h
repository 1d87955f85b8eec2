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

/// A settings window standing in for the application: applies each edit to its own copy, records every
/// save and every press of the two actions. Symbol lookups go to `search`, by default one finding nothing.
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

    AppConfig owner; // the application's, which every edit is applied to
    std::vector<AppConfig> saves;
    int testSoundPresses = 0, resetPresses = 0;

private:
    std::unique_ptr<SettingsWindow> settings;
};

} // namespace glimmer::testing
