#include "app/AppDelegate.h"
#include "app/QtTaskScheduler.h"
#include "app/Rotation.h"
#include "app/hotkeys/AppHotKeys.h"
#include "app/hotkeys/HotKeyBackendNull.h"
#include "app/hotkeys/HotKeyCenter.h"
#include "doubles/ManualClock.h"
#include "doubles/ManualQueue.h"
#include "market/MarketStore.h"
#include "model/ConfigStore.h"
#include "settings/SettingsWindow.h"
#include "ui/AppTestSupport.h"
#include "ui/TestApplication.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;
using Codes = std::vector<std::string>;

/// The delegate, with its real expand and overview coordinators, over a store whose passes run by
/// hand on quotes the test gives.
class AppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        clock.setChinaTime(2024, 11, 8, 10, 30);
    }
    void TearDown() override {
        delegate->applicationWillTerminate();
        delegate.reset();
        // Windows dropped with deleteLater (and their animations) go before this test's screens do.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    /// Starts on securities with quotes (names "股票<code>" unless given) and runs the first pass.
    void start(const std::vector<WatchItem>& items, const std::map<std::string, std::string>& names = {}) {
        const AppConfig config{.watchlist = items, .viewRotateSeconds = 8, .autoLaunch = false};
        for (const WatchItem& item : items) {
            const std::string name = names.contains(item.code) ? names.at(item.code) : "股票" + item.code;
            quotes[item.code] = {.code = item.code, .name = name, .price = 1421.5, .prevClose = 1400};
        }
        MarketSource source{.fetchQuotesBatch = [this](auto&&) { return quotes; },
                            .fetchIntraday = [](auto&&...) { return std::optional<IntradaySnapshot>(); },
                            .fetchFlow = [](auto&&...) { return std::vector<FlowPoint>(); },
                            .fetchDaily = [](auto&&...) { return std::vector<DailyBar>(); }};
        store = std::make_unique<MarketStore>(config, main.poster(), FetchContext{http, health, clock},
                                              MarketStoreOptions{queue, source});
        delegate =
            std::make_unique<AppDelegate>(*store, AppDelegate::Services{sound, hotKeys, screens, scheduler, &notifier});
        delegate->applicationDidFinishLaunching();
        refreshPass();
    }
    void refreshPass() {
        queue->runPending();
        main.drain();
    }

    ExpandCoordinator& expander() { return delegate->expandCoordinator(); }
    OverviewCoordinator& overview() { return delegate->overviewCoordinator(); }
    FloatingPanel& panel() { return *delegate->mainPanel(); }
    StockCardView& card() { return *delegate->card(); }
    std::string onCard() { return card().entry() ? card().entry()->item.code : ""; }
    /// The running expand or collapse has finished, with its completion.
    bool settleExpander() {
        return testing::waitUntil([&] { return !expander().isAnimating(); }, 3000);
    }

    testing::LogTail log;
    ManualClock clock;
    std::shared_ptr<ManualQueue> queue = std::make_shared<ManualQueue>(clock);
    PostedTasks main;
    SourceHealth health;
    MarketAPI http;
    std::map<std::string, Quote> quotes;
    testing::FakeScreenSource screens{{{QRect(0, 0, 1512, 950), QRect(0, 0, 1512, 950)}}};
    QtTaskScheduler scheduler;
    std::vector<testing::RecordingSoundBackend::Played> played;
    SoundPlayer sound{std::make_unique<testing::RecordingSoundBackend>(scheduler, played), scheduler};
    HotKeyCenter hotKeys{std::make_unique<HotKeyBackendNull>()};
    testing::RecordingNotifier notifier;
    std::unique_ptr<MarketStore> store;
    std::unique_ptr<AppDelegate> delegate;
};

TEST_F(AppDelegateTest, StartFillsMissingNamesALargerCardKeepsItsRightAndTopEdgesAndANotificationShowsItsSecurity) {
    start({{"600519", ""}, {"300750", "宁德"}}, {{"600519", "贵州茅台"}});
    // A name the user gave stays; the one filled in is saved at once.
    EXPECT_EQ(std::tuple(delegate->configuration().watchlist[0].name, delegate->configuration().watchlist[1].name,
                         ConfigStore::load().watchlist[0].name),
              std::tuple("贵州茅台", "宁德", "贵州茅台"));
    store->requestRefresh();
    refreshPass();
    EXPECT_EQ(log.count("INFO 首批数据到达 600519 贵州茅台 现价=1421.5 分时=0点 资金流=0点 日K=0根"), 1)
        << "once per process";

    AppConfig next = delegate->configuration();
    next.width = 400;
    next.height = 250;
    next.hiddenCodes = {"600519"};
    delegate->applySavedConfiguration(next);
    EXPECT_EQ(std::tuple(panel().frame(), onCard(), ConfigStore::load().width),
              std::tuple(Rect{1070, 12, 426, 276}, "300750", 400.0))
        << "the card moves off the hidden security";
    next.hiddenCodes = {};
    delegate->applySavedConfiguration(next);
    delegate->placement().hidePanel();
    notifier.onActivated("600519");
    EXPECT_EQ(std::pair(panel().isVisible(), onCard()), std::pair(true, std::string("600519")));
}

TEST_F(AppDelegateTest, HoldingsTypedInSettingsNeedNoRefetchAndPrivacyMasksCardAndLog) {
    start({{"600519", ""}}, {{"600519", "贵州茅台"}});
    delegate->openSettings();
    SettingsWindow* window = delegate->settingsWindow();
    const auto type = [window](const char* name, const QString& text) {
        QLineEdit* edit = window->findChild<QLineEdit*>(QString::fromUtf8(name));
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    };
    type("shares:600519", QStringLiteral("3x00"));
    main.drain();
    // Saved, on the card at once, and nothing fetched for holdings alone.
    EXPECT_EQ(std::tuple(delegate->configuration().watchlist[0].shares, ConfigStore::load().watchlist[0].shares,
                         card().entry()->item.shares, queue->pendingCount()),
              std::tuple(300, 300, 300, 0u));

    delegate->hotKeyHandlers().togglePrivacy();
    EXPECT_EQ(std::tuple(ConfigStore::load().privacyMode, card().privacyMode(), overview().privacyMode()),
              std::tuple(true, true, true));
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("shares:600519"))->text(), QStringLiteral("****"));
    type("cost:600519", QStringLiteral("1400.5"));
    EXPECT_EQ(std::tuple(delegate->configuration().watchlist[0].cost,
                         log.has("INFO 持仓变更 600519 贵州茅台：持股 ****，成本 1400.5"),
                         log.has("持股 300，成本 1400.5")),
              std::tuple(1400.5, true, false))
        << "no share count in the log";
}

TEST_F(AppDelegateTest, ExpandingShowsTheIntradayViewCollapsingRestoresFrameAndViewAndQuittingSavesTheOriginBefore) {
    start({{"600519", ""}, {"300750", ""}});
    delegate->cardPresenter().applyView(dailyCandles);
    panel().setFrameOrigin({300, 200});
    delegate->hotKeyHandlers().toggleExpand();
    delegate->hotKeyHandlers().toggleOverview(); // during the animation: ignored
    ASSERT_TRUE(settleExpander());
    EXPECT_EQ(std::tuple(card().view(), card().expandMode(), delegate->cardPresenter().isViewRotationRunning(),
                         overview().isActive()),
              std::tuple(intraday, true, false, false));
    delegate->modes().toggleExpand();
    ASSERT_TRUE(settleExpander());
    EXPECT_EQ(std::tuple(card().view(), delegate->cardPresenter().currentView(), panel().frame()),
              std::tuple(dailyCandles, dailyCandles, Rect{300, 200, 376, 242}));

    // Quitting while expanded stores the origin from before the expansion.
    delegate->modes().toggleExpand();
    ASSERT_TRUE(settleExpander());
    delegate->applicationWillTerminate();
    const AppConfig saved = ConfigStore::load();
    EXPECT_EQ(std::pair(saved.originX, saved.originY), std::pair(std::optional(300.0), std::optional(200.0)));
    EXPECT_EQ(std::pair(expander().isExpanded(), expander().panels().size()), std::pair(false, 0ul))
        << "the group is taken down without animation";
}

TEST_F(AppDelegateTest, OverviewHotKeyWhileExpandedCollapsesFirstThenShowsEveryVisibleSecurity) {
    start({{"600519", ""}, {"300750", ""}, {"000001", ""}});
    delegate->cardPresenter().applyView(fundFlow);
    delegate->modes().toggleExpand();
    ASSERT_TRUE(expander().isExpanded() && settleExpander());

    delegate->hotKeyHandlers().toggleOverview();
    EXPECT_EQ(std::pair(log.has("INFO 副图展开：开始收起（自下而上卷起）"), overview().isActive()),
              std::pair(true, false))
        << "not before the collapse is over";
    ASSERT_TRUE(testing::waitUntil([&] { return overview().isActive(); }, 3000));
    // Every visible security on the view from before expanding, in place of the main card.
    EXPECT_EQ(std::tuple(expander().isExpanded(), overview().entryCodes(), overview().view(), panel().isVisible(),
                         card().overviewMode(), delegate->cardPresenter().isStockRotationRunning()),
              std::tuple(false, Codes{"600519", "300750", "000001"}, fundFlow, false, true, false));

    overview().setOpacity(0.8);
    delegate->hotKeyHandlers().toggleOverview();
    EXPECT_EQ(std::tuple(overview().isActive(), panel().isVisible(), card().overviewMode()),
              std::tuple(false, true, false));
    EXPECT_NEAR(panel().alphaValue(), 0.8, 0.01) << "the main card comes back at the overview's opacity";

    delegate->modes().enterOverview();
    delegate->placement().hidePanel();
    delegate->modes().exitOverview();
    EXPECT_EQ(std::pair(overview().isActive(), panel().isVisible()), std::pair(false, false))
        << "hidden during overview mode stays hidden";
}

TEST_F(AppDelegateTest, HidingTheLastVisibleSecurityLeavesOverviewWithThePlaceholderOnTheCard) {
    start({{"600519", ""}, {"300750", ""}});
    delegate->modes().enterOverview();
    overview().hideItem("600519");
    EXPECT_EQ(std::tuple(overview().isActive(), overview().entryCodes(), onCard()),
              std::tuple(true, Codes{"300750"}, "300750"));
    overview().hideItem("300750");
    EXPECT_EQ(std::tuple(overview().isActive(), panel().isVisible(), card().placeholderText()),
              std::tuple(false, true, std::string(Rotation::allHiddenPlaceholder)));
    delegate->hideItem("300750");
    EXPECT_EQ(std::pair(log.count("隐藏股票 300750"), ConfigStore::load().hiddenCodes),
              std::pair(1, Codes{"600519", "300750"}))
        << "a code already hidden is not added again";
    delegate->modes().toggleOverview();
    EXPECT_FALSE(overview().isActive()) << "nothing visible to show";
}

} // namespace
} // namespace glimmer
