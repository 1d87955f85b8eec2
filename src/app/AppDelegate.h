#pragma once

#include "app/AlertPresenter.h"
#include "app/AppContext.h"
#include "app/CardPresenter.h"
#include "app/ModeController.h"
#include "app/PanelPlacement.h"
#include "app/SettingsHost.h"
#include "app/StoreAccess.h"
#include "layouts/ExpandCoordinator.h"
#include "layouts/OverviewCoordinator.h"
#include "model/AppConfig.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace glimmer {

class AlertNotifier;
struct AppHotKeyHandlers;
class ArrowKeyMonitor;
class FloatingPanel;
class HotKeyCenter;
class MarketStore;
class SettingsWindow;
class SoundPlayer;
class StatusBarController;
class StockCardView;

/// The running application: builds every object in a fixed order, wires their callbacks, applies
/// saved configurations, and takes the interactive parts down again at termination.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    /// What the delegate uses but does not own; the entry point makes each and keeps it alive longer.
    struct Services {
        SoundPlayer& sound;
        HotKeyCenter& hotKeys;
        const ScreenSource& screens;
        TaskScheduler& scheduler;
        AlertNotifier* notifier = nullptr;
    };

    /// The store exists (its creation loaded the configuration) before the delegate copies it.
    AppDelegate(MarketStore& store, const Services& services, QObject* parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    /// The termination order; runs once, whichever way the program ends.
    void applicationWillTerminate();
    /// Runs the termination order and leaves the event loop.
    void quit();

    void openSettings();
    void applySavedConfiguration(const AppConfig& next);
    /// Applies one edit of the settings window to the current configuration and returns the result.
    AppConfig applySettingsEdit(const ConfigEdit& edit);
    void testSound();
    void resetPosition();
    void showAbout();

    /// Privacy mode (tray menu, optional hot key): amounts and share counts show as "****".
    void togglePrivacyMode();
    /// A security hidden from an overview card's eye button.
    void hideItem(const std::string& code);
    /// What the three global hot keys do.
    AppHotKeyHandlers hotKeyHandlers();

    const AppConfig& configuration() const { return config; }
    FloatingPanel* mainPanel() const { return panel; }
    StockCardView* card() const { return cardView; }
    CardPresenter& cardPresenter() { return presenter; }
    PanelPlacement& placement() { return panelPlacement; }
    ModeController& modes() { return modeController; }
    ExpandCoordinator& expandCoordinator() { return *expander; }
    OverviewCoordinator& overviewCoordinator() { return *overview; }
    SettingsWindow* settingsWindow() const { return settings.settingsWindow(); }

private:
    void wireCard();
    void wireOverview();
    void wireStatusBar();
    /// A click on an alert's notification shows the card on that security.
    void wireNotifier();
    void wireStore();
    void installKeyMonitor();
    void registerHotKeys();
    void storeDidChange();
    /// Stores the configuration and shows it in an open settings window.
    void saveConfig();
    void syncAutoLaunch();
    /// Hands the privacy mode to the card, the overview and the tray.
    void applyPrivacyMode();

    // Field order follows the order of construction and is relied on by the destructor.
    AppConfig config;
    MarketStore& store;
    HotKeyCenter& hotKeys;
    MarketStoreAccess storeAccess;
    std::unique_ptr<ExpandCoordinator> expander;
    std::unique_ptr<OverviewCoordinator> overview;
    FloatingPanel* panel = nullptr;
    StockCardView* cardView = nullptr;
    StatusBarController* statusBar = nullptr;
    ArrowKeyMonitor* keyMonitor = nullptr;

    AppContext context;
    CardPresenter presenter;
    AlertPresenter alerts;
    PanelPlacement panelPlacement;
    ModeController modeController;
    SettingsHost settings;

    bool didLogFirstData = false;
    bool didTerminate = false;
};

} // namespace glimmer
