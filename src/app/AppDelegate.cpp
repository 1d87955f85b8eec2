#include "app/AppDelegate.h"

#include "app/AutoLaunch.h"
#include "app/EntryPoint.h"
#include "app/PanelFrames.h"
#include "app/SoundPlayer.h"
#include "app/StatusBarController.h"
#include "app/Version.h"
#include "app/hotkeys/AppHotKeys.h"
#include "app/hotkeys/ArrowKeyStep.h"
#include "app/notify/AlertNotifier.h"
#include "card/FloatingPanel.h"
#include "card/MinimalSlider.h"
#include "card/ScreenSpace.h"
#include "card/StockCardView.h"
#include "card/ViewSequence.h"
#include "market/MarketStore.h"
#include "model/AppPaths.h"
#include "model/ConfigStore.h"
#include "model/HotKeyKeys.h"
#include "model/TextFormat.h"
#include "settings/SymbolSuggester.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace glimmer {

namespace {

constexpr const char* productWebsite = "https://glimmerbox.io";

// A copy of the context: a lookup still running when the program ends may outlive the store.
SymbolSearch::Lookup symbolLookup(const FetchContext& context) {
    return
        [context](const std::string& query) { return SymbolSearch::search(query, SymbolSuggester::hitLimit, context); };
}

} // namespace

AppDelegate::AppDelegate(MarketStore& store, const Services& services, QObject* parent)
    : QObject(parent), config(store.config()), store(store), hotKeys(services.hotKeys), storeAccess(store),
      expander(std::make_unique<ExpandCoordinator>(services.screens)),
      overview(std::make_unique<OverviewCoordinator>(services.screens)),
      context(config, storeAccess, services.scheduler, services.screens, *expander, *overview, services.sound),
      presenter(context), alerts(context, presenter), panelPlacement(context, presenter),
      modeController(context, presenter, panelPlacement),
      settings(SettingsHost::Callbacks{[this](const ConfigEdit& edit) { return applySettingsEdit(edit); },
                                       [this] { testSound(); }, [this] { resetPosition(); },
                                       symbolLookup(store.fetchContext())}) {
    context.saveConfig = [this] { saveConfig(); };
    context.notifier = services.notifier;
    // X11 has no application-wide activation; the window made key takes the focus itself.
}

AppDelegate::~AppDelegate() {
    // The store outlives the delegate; nothing it posts may reach a delegate that is gone.
    store.onChange = nullptr;
    store.onAlerts = nullptr;
    delete keyMonitor;
    delete statusBar;
    delete panel;
}

void AppDelegate::applicationDidFinishLaunching() {
    context.info(startLogLine(config));

    const std::vector<Screen> screens = currentScreens(context.screens);
    const Rect frame = PanelFrames::startFrame(config, screens);
    panel = new FloatingPanel(frame, context.screens);
    panel->setWindowTitle(QStringLiteral("Glimmerbox"));
    context.panel = panel;
    panelPlacement.applyWindowSettings();

    cardView = new StockCardView(nullptr, Clock::system(), context.screens);
    cardView->setGeometry(0, 0, static_cast<int>(std::lround(frame.width)),
                          static_cast<int>(std::lround(frame.height)));
    context.cardView = cardView;
    presenter.configureCard();
    cardView->opacitySlider()->setValue(config.opacity);
    wireCard();
    panel->setContentView(cardView);

    wireOverview();
    panel->onMove = [self = QPointer<AppDelegate>(this)] {
        if (self) self->panelPlacement.panelDidMove();
    };
    const auto screensChanged = [self = QPointer<AppDelegate>(this)] {
        if (self) self->panelPlacement.screenParametersDidChange();
    };
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(gui, &QGuiApplication::screenAdded, this, screensChanged);
        connect(gui, &QGuiApplication::screenRemoved, this, screensChanged);
        connect(gui, &QGuiApplication::primaryScreenChanged, this, screensChanged);
        const auto watch = [this, screensChanged](QScreen* screen) {
            connect(screen, &QScreen::availableGeometryChanged, this, screensChanged);
        };
        for (QScreen* screen : QGuiApplication::screens()) watch(screen);
        connect(gui, &QGuiApplication::screenAdded, this, watch);
    }

    statusBar = new StatusBarController(context.scheduler);
    context.statusBar = statusBar;
    wireStatusBar();
    wireNotifier();
    applyPrivacyMode();
    wireStore();
    registerHotKeys();
    installKeyMonitor();

    context.sound.config = config.sound;
    store.setConfig(config);
    store.setPollingEnabled(true);
    store.syncEntries();
    presenter.reportShownCodes(); // before the first pass, which then loads full candles only for those
    store.restartTimer();
    store.requestRefresh();

    panelPlacement.showPanel();
    presenter.updateRotateTimer();
    presenter.refreshCard(true);

    syncAutoLaunch();
    const Rect shown = panel->frame();
    context.info("浮窗已显示 origin=(" + TextFormat::whole(shown.x) + "," + TextFormat::whole(shown.y) +
                 ") 可见=" + (panel->isVisible() ? "true" : "false"));
}

void AppDelegate::wireNotifier() {
    if (!context.notifier) return;
    context.notifier->onActivated = [self = QPointer<AppDelegate>(this)](const std::string& code) {
        if (!self) return;
        self->alerts.focusSecurity(code);
        if (!self->presenter.isPanelVisible()) self->panelPlacement.showPanel();
    };
}

void AppDelegate::wireCard() {
    StockCardView& card = *cardView;
    const QPointer<AppDelegate> self(this);
    card.onSwitchStock = [self](int delta) {
        if (self) self->presenter.switchStock(delta, false);
    };
    card.onSwitchView = [self](ChartView view) {
        if (self) self->presenter.applyView(view);
    };
    card.onFocusRequest = [self] {
        if (self) self->presenter.focusFloating();
    };
    card.onClose = [self] {
        if (self) self->panelPlacement.hidePanel();
    };
    card.onToggleExpand = [self] {
        if (self) self->modeController.toggleExpand();
    };
    card.onToggleOverview = [self] {
        if (self) self->modeController.toggleOverview();
    };
    card.onContextMenu = [self](QMouseEvent&) {
        if (!self || !self->cardView) return;
        const bool withQuit = !self->statusBar || !self->statusBar->isTrayAvailable();
        self->presenter.showContextMenu(*self->cardView, withQuit);
    };
    card.onPinToggle = [self] {
        if (self) self->presenter.togglePin();
    };
    card.onLockToggle = [self](ChartView view) {
        if (self) self->presenter.toggleLock(view);
    };
    card.onOpacityChange = [self](double value) {
        if (self) self->panelPlacement.setOpacityFromSlider(value);
    };
    card.onResize = [self](QSizeF size) {
        if (self) self->panelPlacement.resize(size);
    };
    card.onResizeCommit = [self] {
        if (self) self->panelPlacement.resizeCommit();
    };
    card.onDragEnd = [self](std::optional<DockSide> side) {
        if (self) self->panelPlacement.dragEnd(side);
    };

    presenter.onOpenSettings = [self] {
        if (self) self->openSettings();
    };
    presenter.onHidePanel = [self] {
        if (self) self->panelPlacement.hidePanel();
    };
    presenter.onQuit = [self] {
        if (self) self->quit();
    };
}

void AppDelegate::wireOverview() {
    OverviewCoordinator& o = *overview;
    const QPointer<AppDelegate> self(this);
    o.onHideItem = [self](const std::string& code) {
        if (self) self->hideItem(code);
    };
    o.onToggleOverview = [self] {
        if (self) self->modeController.toggleOverview();
    };
    o.onToggleExpand = [self] {
        if (self) self->modeController.toggleExpand();
    };
    o.onClose = [self] {
        if (self) self->panelPlacement.hidePanel();
    };
    o.onOpacityChange = [self](double value) {
        if (self) self->panelPlacement.setOpacityFromSlider(value);
    };
    o.onEmpty = [self] {
        if (self) self->modeController.exitOverview();
    };
    o.onFocusRequest = [self] {
        if (self) self->presenter.focusFloating();
    };
}

void AppDelegate::wireStatusBar() {
    const QPointer<AppDelegate> self(this);
    statusBar->onTogglePanel = [self] {
        if (self) self->panelPlacement.togglePanel();
    };
    statusBar->onOpenSettings = [self] {
        if (self) self->openSettings();
    };
    statusBar->onTogglePrivacy = [self] {
        if (self) self->togglePrivacyMode();
    };
    statusBar->setPrivacyMode(config.privacyMode);
    statusBar->onAbout = [self] {
        if (self) self->showAbout();
    };
    statusBar->onQuit = [self] {
        if (self) self->quit();
    };
}

void AppDelegate::wireStore() {
    const QPointer<AppDelegate> self(this);
    store.onChange = [self] {
        if (self) self->storeDidChange();
    };
    store.onAlerts = [self](const std::vector<AlertEvent>& events) {
        if (self) self->alerts.handleAlerts(events);
    };
}

void AppDelegate::storeDidChange() {
    presenter.refreshCard(true);
    const std::vector<MarketEntry> entries = store.entries();
    bool filled = false;
    for (std::size_t i = 0; i < config.watchlist.size() && i < entries.size(); ++i) {
        WatchItem& item = config.watchlist[i];
        if (!item.name.empty() || !entries[i].quote || entries[i].quote->name.empty()) continue;
        item.name = entries[i].quote->name;
        filled = true;
    }
    if (filled) {
        saveConfig();
        store.setConfig(config);
    }
    const int at = presenter.currentIndex();
    if (!didLogFirstData && at >= 0 && at < static_cast<int>(entries.size()) && entries[at].quote) {
        didLogFirstData = true;
        const MarketEntry& entry = entries[at];
        context.info(
            "首批数据到达 " + entry.quote->code + " " + entry.quote->name +
            " 现价=" + TextFormat::shortest(entry.quote->price) + " 分时=" + std::to_string(entry.minutes.size()) +
            "点 资金流=" + std::to_string(entry.flow.size()) + "点 日K=" + std::to_string(entry.daily.size()) + "根");
    }
}

void AppDelegate::saveConfig() {
    ConfigStore::save(config);
    settings.follow(config);
}

void AppDelegate::registerHotKeys() {
    const AppHotKeyHandlers handlers = hotKeyHandlers();
    registerAppHotKeys(hotKeys, config.hotkey, handlers);
    registerPrivacyHotKey(hotKeys, config.privacyHotkey, handlers.togglePrivacy);
}

void AppDelegate::installKeyMonitor() {
    keyMonitor = new ArrowKeyMonitor;
    const QPointer<AppDelegate> self(this);
    keyMonitor->isMainPanelVisible = [self] { return self && self->panel && self->panel->isVisible(); };
    keyMonitor->isOverviewOn = [self] { return self && self->overview->isActive(); };
    keyMonitor->onStep = [self](ArrowStep step) {
        if (!self) return;
        if (step.action == ArrowAction::switchStock) {
            self->presenter.switchStock(step.delta, false);
        } else if (step.action == ArrowAction::stepView && self->cardView) {
            const std::optional<ChartView> next =
                ViewSequence::stepView(self->presenter.currentView(), self->cardView->enabledSequence(), step.delta);
            if (next) self->presenter.applyView(*next);
        }
    };
}

void AppDelegate::hideItem(const std::string& code) {
    std::vector<std::string>& hidden = config.hiddenCodes;
    if (std::find(hidden.begin(), hidden.end(), code) != hidden.end()) return;
    hidden.push_back(code);
    context.save();
    context.info("隐藏股票 " + code + "：全览与主卡轮播都不再展示，设置里可恢复");
    presenter.normalizeCurrentIndexIfHidden();
    presenter.refreshCard(false);
    if (presenter.visibleEntries().empty()) {
        context.info("全览：可见股票已全部隐藏，退出全览");
        modeController.exitOverview();
    }
}

AppHotKeyHandlers AppDelegate::hotKeyHandlers() {
    const QPointer<AppDelegate> self(this);
    AppHotKeyHandlers handlers;
    handlers.togglePanel = [self] {
        if (self) self->panelPlacement.togglePanel();
    };
    handlers.toggleExpand = [self] {
        if (self) self->modeController.toggleExpand();
    };
    handlers.toggleOverview = [self] {
        if (self) self->modeController.toggleOverview();
    };
    handlers.togglePrivacy = [self] {
        if (self) self->togglePrivacyMode();
    };
    return handlers;
}

void AppDelegate::syncAutoLaunch() {
    const AutoLaunch::Host host = AutoLaunch::systemHost();
    if (!AutoLaunch::sync(config.autoLaunch, host) && config.autoLaunch) context.error(host.format->texts().notWritten);
}

void AppDelegate::applicationWillTerminate() {
    if (didTerminate) return;
    didTerminate = true;
    if (const std::optional<Rect>& before = modeController.frameBeforeExpand();
        cardView && cardView->expandMode() && before) {
        config.originX = before->x;
        config.originY = before->y;
        saveConfig();
    } else {
        panelPlacement.persistOrigin();
    }
    expander->collapseImmediately();
    overview->hide();
    delete keyMonitor;
    keyMonitor = nullptr;
    hotKeys.unregisterAll();
}

void AppDelegate::quit() {
    applicationWillTerminate();
    QCoreApplication::quit();
}

void AppDelegate::openSettings() {
    settings.openSettings(config);
}

void AppDelegate::testSound() {
    context.sound.playForListening(config.sound);
}

void AppDelegate::resetPosition() {
    panelPlacement.resetPosition();
}

void AppDelegate::showAbout() {
    const QString info =
        QStringLiteral("行情小窗监控 · 墨川工坊\n\n"
                       "数据源：东方财富（1 分钟分时 / 分钟资金流）、腾讯（前复权日 K）\n") +
        QStringLiteral("快捷键：") +
        QString::fromStdString(HotKeyKeys::displayName(config.hotkey.keyCode, config.hotkey.modifiers)) +
        QStringLiteral(" 呼出 / 隐藏浮窗\n"
                       "操作：单击切视图，双击切股票，双击白点锁定视图；股票名左侧图钉实心时暂停股票轮播\n"
                       "     顶部三个按钮：%1 全览所有股票 / %2 展开所有副图 / 收起浮窗\n"
                       "     拖浮窗边缘缩放；鼠标悬停时顶部出现透明度滑条与按钮\n")
            .arg(QString::fromStdString(HotKeyKeys::displayName(HotKeyKeys::overviewKeys)),
                 QString::fromStdString(HotKeyKeys::displayName(HotKeyKeys::expandKeys))) +
        QStringLiteral("配置：") + QString::fromStdString(AppPaths::configFile().string()) +
        QStringLiteral("\n官网：") + QString::fromUtf8(productWebsite);
    QMessageBox box(
        QMessageBox::Information, QStringLiteral("Glimmerbox"),
        QStringLiteral("澜汐看板 %1 · %2").arg(QString::fromUtf8(appVersion), QString::fromUtf8(appCodename)));
    box.setInformativeText(info);
    box.addButton(QStringLiteral("好"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace glimmer
