#pragma once

#include "app/StoreAccess.h"
#include "app/TaskScheduler.h"
#include "card/FloatingPanel.h"
#include "card/ScreenSource.h"
#include "layouts/ExpandCoordinator.h"
#include "layouts/OverviewCoordinator.h"
#include "model/AppConfig.h"
#include "model/AppLog.h"

#include <functional>
#include <string>

namespace glimmer {

class AlertNotifier;
class SoundPlayer;
class StatusBarController;
class StockCardView;

/// The objects the application delegate owns, as its presenter, placement and alert presentation
/// see them. The delegate fills it; tests fill it with fakes. Pointers are null until built.
struct AppContext {
    AppContext(AppConfig& config, StoreAccess& store, TaskScheduler& scheduler, const ScreenSource& screens,
               ExpandCoordinator& expander, OverviewCoordinator& overview, SoundPlayer& sound)
        : config(config), store(store), scheduler(scheduler), screens(screens), expander(expander), overview(overview),
          sound(sound) {}

    AppConfig& config;
    StoreAccess& store;
    TaskScheduler& scheduler;
    const ScreenSource& screens;
    ExpandCoordinator& expander;
    OverviewCoordinator& overview;
    SoundPlayer& sound;

    FloatingPanel* panel = nullptr;
    StockCardView* cardView = nullptr;
    StatusBarController* statusBar = nullptr;
    /// Desktop notifications; null where the desktop has none.
    AlertNotifier* notifier = nullptr;

    /// Writes `config` to disk.
    std::function<void()> saveConfig;
    /// Writes one log line (level "INFO" or "ERR "); the application log when unset.
    std::function<void(const std::string& level, const std::string& message)> log;
    /// Brings the application forward (focus requests, dialogs).
    std::function<void()> activateApplication;

    void save() const {
        if (saveConfig) saveConfig();
    }
    void info(const std::string& message) const {
        if (log) {
            log("INFO", message);
        } else {
            AppLog::write("INFO", message);
        }
    }
    void error(const std::string& message) const {
        if (log) {
            log("ERR ", message);
        } else {
            AppLog::write("ERR ", message);
        }
    }
};

} // namespace glimmer
