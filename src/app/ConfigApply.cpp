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
#include "model/HoldingsText.h"
#include "settings/WatchlistEditing.h"

#include <algorithm>

namespace glimmer {

namespace {

bool grabChanged(const HotKeySpec& a, const HotKeySpec& b) {
    return a.keyCode != b.keyCode || a.modifiers != b.modifiers || a.enabled != b.enabled;
}

const WatchItem* findItem(const std::vector<WatchItem>& list, const std::string& code) {
    const auto it = std::find_if(list.begin(), list.end(), [&](const WatchItem& w) { return w.code == code; });
    return it == list.end() ? nullptr : &*it;
}

} // namespace

void AppDelegate::togglePrivacyMode() {
    AppConfig next = config;
    next.privacyMode = !next.privacyMode;
    applySavedConfiguration(next);
}

void AppDelegate::applyPrivacyMode() {
    if (cardView) cardView->setPrivacyMode(config.privacyMode);
    overview->setPrivacyMode(config.privacyMode);
    if (statusBar) statusBar->setPrivacyMode(config.privacyMode);
}

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
    if (previous.privacyMode != config.privacyMode) {
        context.info(config.privacyMode ? "隐私模式已开启：金额与持股数显示为 ****" : "隐私模式已关闭");
        applyPrivacyMode();
    }
    for (const WatchItem& item : config.watchlist) {
        const WatchItem* before = findItem(previous.watchlist, item.code);
        if (before && (before->shares != item.shares || before->cost != item.cost)) {
            context.info(HoldingsText::changeLine(item, config.privacyMode));
        }
    }
    if (previous.watchlist != config.watchlist) {
        store.setConfig(config);
        store.syncEntries();
        // Holdings alone need no new data.
        if (!WatchlistEditing::sameSecurities(previous.watchlist, config.watchlist)) {
            store.restartTimer();
            store.requestRefresh();
        }
    }

    if (grabChanged(previous.hotkey, config.hotkey) || grabChanged(previous.privacyHotkey, config.privacyHotkey)) {
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
