#include "app/AppDelegate.h"
#include "app/EntryPoint.h"
#include "app/QtTaskScheduler.h"
#include "app/hotkeys/AppHotKeys.h"
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"
#include "doubles/ManualClock.h"
#include "doubles/ManualQueue.h"
#include "market/MarketStore.h"
#include "model/AppPaths.h"
#include "model/ConfigStore.h"
#include "settings/SettingsRootView.h"
#include "settings/SettingsWindow.h"
#include "support/TempDir.h"
#include "ui/FakeScreenSource.h"
#include "ui/TestApplication.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include <sstream>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

using testing::FakeScreenSource;

/// The delegate over a store whose passes run by hand on quotes the test gives.
class AppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        clock.setChinaTime(2024, 11, 8, 10, 30);
        logStart = logText().size();
    }

    void start(AppConfig config) {
        config.autoLaunch = false;
        MarketSource source;
        source.fetchQuotesBatch = [this](const std::vector<WatchItem>& items) {
            std::map<std::string, Quote> result;
            for (const WatchItem& item : items) {
                const auto found = quotes.find(item.code);
                if (found != quotes.end()) result[item.code] = found->second;
            }
            return result;
        };
        source.fetchIntraday = [](const std::string&, const std::string&, const std::string&) {
            return std::optional<IntradaySnapshot>();
        };
        source.fetchFlow = [](const std::string&, const std::optional<std::string>&) {
            return std::vector<FlowPoint>();
        };
        source.fetchDaily = [](const std::string&, int) { return std::vector<DailyBar>(); };
        store =
            std::make_unique<MarketStore>(config, main.poster(), MarketStoreOptions{&clock, &health, queue, source});
        delegate = std::make_unique<AppDelegate>(*store, screens, scheduler);
        delegate->applicationDidFinishLaunching();
    }

    void refreshPass() {
        queue->runPending();
        main.drain();
    }

    static std::string logText() { return testing::readFile(AppPaths::logFile()); }
    std::string newLog() const { return logText().substr(logStart); }

    static Quote quote(const std::string& code, const std::string& name, double price) {
        Quote q;
        q.code = code;
        q.name = name;
        q.price = price;
        q.prevClose = price * 0.99;
        return q;
    }

    ManualClock clock;
    std::shared_ptr<ManualQueue> queue = std::make_shared<ManualQueue>(clock);
    PostedTasks main;
    SourceHealth health;
    std::map<std::string, Quote> quotes;
    FakeScreenSource screens{{{QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900)}}};
    QtTaskScheduler scheduler;
    std::unique_ptr<MarketStore> store;
    std::unique_ptr<AppDelegate> delegate;
    std::size_t logStart = 0;
};

TEST_F(AppDelegateTest, StartsInTheCornerWithTheConfiguredViewsAndLogsItsStart) {
    AppConfig config;
    config.watchlist = {};
    config.enabledViews = {};
    start(config);
    FloatingPanel* panel = delegate->mainPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->frame(), (Rect{1048, 12, 376, 242}));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(delegate->card()->view(), intraday);
    const std::string log = newLog();
    EXPECT_NE(log.find("INFO " + startLogLine(config)), std::string::npos);
    EXPECT_NE(log.find("INFO 浮窗已显示 origin=(1048,12) 可见=true"), std::string::npos);
    EXPECT_TRUE(store->isPollingEnabled());
}

TEST_F(AppDelegateTest, FirstDataFillsMissingNamesAndIsLoggedOnce) {
    AppConfig config;
    config.watchlist = {{"600519", "", InstrumentKind::stock}, {"300750", "宁德", InstrumentKind::stock}};
    quotes["600519"] = quote("600519", "贵州茅台", 1421.5);
    quotes["300750"] = quote("300750", "宁德时代", 234.23);
    start(config);
    refreshPass();
    EXPECT_EQ(delegate->configuration().watchlist[0].name, "贵州茅台");
    EXPECT_EQ(delegate->configuration().watchlist[1].name, "宁德") << "a name the user gave stays";
    EXPECT_EQ(ConfigStore::load().watchlist[0].name, "贵州茅台") << "saved at once";
    ASSERT_TRUE(delegate->card()->entry());
    EXPECT_EQ(delegate->card()->entry()->item.code, "600519");

    store->requestRefresh();
    refreshPass();
    const std::string log = newLog();
    const std::string line = "INFO 首批数据到达 600519 贵州茅台 现价=1421.5 分时=0点 资金流=0点 日K=0根";
    ASSERT_NE(log.find(line), std::string::npos) << log;
    EXPECT_EQ(log.find(line, log.find(line) + 1), std::string::npos) << "once per process";
}

TEST_F(AppDelegateTest, ALargerCardKeepsTheRightAndBottomEdgesAndHidingIsLogged) {
    AppConfig config;
    config.watchlist = {{"600519", "贵州茅台", InstrumentKind::stock}, {"300750", "宁德时代", InstrumentKind::stock}};
    start(config);
    refreshPass();
    AppConfig next = delegate->configuration();
    next.width = 400;
    next.height = 250;
    next.hiddenCodes = {"600519"};
    delegate->applySavedConfiguration(next);
    const Rect frame = delegate->mainPanel()->frame();
    EXPECT_EQ(frame, (Rect{998, 12, 426, 276}));
    EXPECT_EQ(delegate->card()->size(), QSize(426, 276));
    EXPECT_EQ(delegate->card()->entry()->item.code, "300750") << "the card moves off the hidden security";
    EXPECT_NE(newLog().find("INFO 可见股票集合变更：隐藏 1 只，可见 1 只"), std::string::npos);
    EXPECT_EQ(ConfigStore::load().width, 400);
}

TEST_F(AppDelegateTest, TheSettingsWindowChangesOnlyWhatItEditsAndFollowsChangesMadeElsewhere) {
    AppConfig config;
    config.watchlist = {{"600519", "", InstrumentKind::stock}, {"300750", "宁德时代", InstrumentKind::stock}};
    quotes["600519"] = quote("600519", "贵州茅台", 1421.5);
    start(config);
    delegate->openSettings();
    SettingsWindow* window = delegate->settingsWindow();
    ASSERT_NE(window, nullptr);

    // Changed on the card, the overview and by the quotes while the window is open.
    delegate->card()->onPinToggle();
    delegate->card()->onLockToggle(fundFlow);
    delegate->hideItem("300750");
    refreshPass();
    delegate->card()->onResize(QSizeF(400, 250));
    delegate->card()->onResizeCommit();
    delegate->resetPosition();
    EXPECT_TRUE(window->rootView().config() == delegate->configuration()) << "the working copy follows";
    // The slider's value is stored a moment later; an edit before that keeps it all the same.
    delegate->card()->onOpacityChange(0.3);

    QSpinBox* refresh = nullptr;
    for (QSpinBox* box : window->findChildren<QSpinBox*>())
        if (box->accessibleName() == QStringLiteral("刷新间隔")) refresh = box;
    ASSERT_NE(refresh, nullptr);
    refresh->setValue(45);
    const AppConfig& now = delegate->configuration();

    for (const AppConfig& seen : {now, ConfigStore::load(), window->rootView().config()}) {
        EXPECT_EQ(seen.refreshSeconds, 45);
        EXPECT_TRUE(seen.pinPaused);
        EXPECT_EQ(seen.lockedViewType, fundFlow);
        EXPECT_EQ(seen.hiddenCodes, std::vector<std::string>{"300750"});
        EXPECT_EQ(seen.watchlist[0].name, "贵州茅台");
        EXPECT_EQ(seen.width, 400);
        EXPECT_EQ(seen.opacity, 0.3);
        EXPECT_EQ(seen.originX, now.originX);
        EXPECT_EQ(seen.dockSide, now.dockSide);
    }
    EXPECT_TRUE(delegate->card()->pinPaused()) << "the pin is not drawn hollow again";
}

TEST_F(AppDelegateTest, HoldingsTypedInSettingsNeedNoRefetchAndPrivacyMasksCardAndLog) {
    AppConfig config;
    config.watchlist = {{"600519", "贵州茅台", InstrumentKind::stock}};
    quotes["600519"] = quote("600519", "贵州茅台", 1500);
    start(config);
    refreshPass();
    delegate->openSettings();
    SettingsWindow* window = delegate->settingsWindow();
    ASSERT_NE(window, nullptr);
    const auto field = [window](const char* name) { return window->findChild<QLineEdit*>(QString::fromUtf8(name)); };
    const auto type = [](QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    };

    ASSERT_NE(field("shares:600519"), nullptr);
    type(field("shares:600519"), QStringLiteral("3x00"));
    EXPECT_EQ(field("shares:600519")->text(), QStringLiteral("300")) << "letters are refused as typed";
    main.drain();
    EXPECT_EQ(delegate->configuration().watchlist[0].shares, 300);
    EXPECT_EQ(ConfigStore::load().watchlist[0].shares, 300);
    ASSERT_TRUE(delegate->card()->entry());
    EXPECT_EQ(delegate->card()->entry()->item.shares, 300) << "the card has the holdings at once";
    EXPECT_EQ(queue->pendingCount(), 0u) << "holdings alone fetch nothing";
    EXPECT_NE(newLog().find("INFO 持仓变更 600519 贵州茅台：持股 300，成本 未填"), std::string::npos);

    delegate->hotKeyHandlers().togglePrivacy();
    EXPECT_TRUE(delegate->configuration().privacyMode);
    EXPECT_TRUE(ConfigStore::load().privacyMode);
    EXPECT_TRUE(delegate->card()->privacyMode());
    EXPECT_TRUE(delegate->overviewCoordinator().privacyMode());
    EXPECT_NE(newLog().find("INFO 隐私模式已开启：金额与持股数显示为 ****"), std::string::npos);
    ASSERT_NE(field("shares:600519"), nullptr);
    EXPECT_EQ(field("shares:600519")->text(), QStringLiteral("****"));
    EXPECT_TRUE(field("shares:600519")->isReadOnly());

    type(field("cost:600519"), QStringLiteral("1400.5"));
    EXPECT_EQ(delegate->configuration().watchlist[0].cost, 1400.5);
    const std::string log = newLog();
    EXPECT_NE(log.find("INFO 持仓变更 600519 贵州茅台：持股 ****，成本 1400.5"), std::string::npos) << log;
    EXPECT_EQ(log.find("持股 300，成本 1400.5"), std::string::npos) << "no share count in the log";
}

TEST_F(AppDelegateTest, TerminationStoresTheOriginOnce) {
    AppConfig config;
    start(config);
    delegate->mainPanel()->setFrameOrigin({300, 200});
    delegate->applicationWillTerminate();
    delegate->applicationWillTerminate();
    const AppConfig saved = ConfigStore::load();
    EXPECT_EQ(saved.originX, 300);
    EXPECT_EQ(saved.originY, 200);
}

} // namespace
} // namespace glimmer
