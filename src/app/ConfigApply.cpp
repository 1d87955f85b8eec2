// Applying a configuration saved in the settings window to the running objects.
#include "app/AppDelegate.h"

#include "app/AutoLaunch.h"
#include "app/SoundPlayer.h"
#include "app/StatusBarController.h"
#include "card/FloatingPanel.h"
#include "card/MinimalSlider.h"
#include "card/StockCardView.h"
#include "market/MarketStore.h"
#include "model/ConfigStore.h"

#include <algorithm>

namespace glimmer {

AppConfig AppDelegate::applySettingsEdit(const ConfigEdit& edit) {
    AppConfig next = config;
    edit(next);
    if (next != config) applySavedConfiguration(next);
    return config;
}

void AppDelegate::applySavedConfiguration(const AppConfig& next) {
    const AppConfig previous = config;
    config = next;
    saveConfig();

    const bool sizeChanged = previous.width != config.width || previous.height != config.height;
    if (sizeChanged && panel) panelPlacement.applySizeChange();

    panelPlacement.applyWindowSettings();

    const bool hiddenChanged = previous.hiddenCodes != config.hiddenCodes;
    if (hiddenChanged) {
        presenter.normalizeCurrentIndexIfHidden();
        context.info("可见股票集合变更：隐藏 " + std::to_string(config.hiddenCodes.size()) + " 只，可见 " +
                     std::to_string(presenter.visibleEntries().size()) + " 只");
    }

    if (overview->isActive()) {
        overview->setOpacity(config.opacity);
        overview->applyTopmost(config.alwaysOnTop);
        overview->applyAppearance(config.themeMode);
        overview->setCardSize(std::max(config.width, 240.0), std::max(config.height, 120.0));
        if (sizeChanged || hiddenChanged) {
            const std::vector<MarketEntry> visible = presenter.visibleEntries();
            if (visible.empty()) {
                modeController.toggleOverview();
            } else {
                overview->rebuild(visible);
            }
        }
    }

    presenter.refreshCard(false);

    if (cardView) {
        cardView->setPinPaused(config.pinPaused);
        cardView->setOpacitySliderEnabled(config.hoverOpacitySlider);
        cardView->opacitySlider()->setValue(config.opacity);
        cardView->setEnabledViews(config.enabledViews);
    }
    settings.applyTheme(config.themeMode);
    presenter.applyLockedView();

    if (previous.refreshSeconds != config.refreshSeconds) {
        store.setRefreshSeconds(config.refreshSeconds);
        store.restartTimer();
    }
    if (previous.alerts != config.alerts) store.setAlerts(config.alerts);
    if (previous.watchlist != config.watchlist) {
        store.setConfig(config);
        store.syncEntries();
        store.restartTimer();
        store.requestRefresh();
    }

    const HotKeySpec& oldKey = previous.hotkey;
    const HotKeySpec& newKey = config.hotkey;
    if (oldKey.keyCode != newKey.keyCode || oldKey.modifiers != newKey.modifiers || oldKey.enabled != newKey.enabled) {
        registerHotKeys();
    }
    if (previous.autoLaunch != config.autoLaunch) syncAutoLaunch();
    if (previous.dockPinned != config.dockPinned) panelPlacement.pinnedModeChanged();

    context.sound.config = config.sound;
    presenter.updateRotateTimer();
    presenter.updateStatusText();
    presenter.refreshCard(false);
}

} // namespace glimmer
