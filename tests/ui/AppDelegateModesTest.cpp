#include "app/AppDelegate.h"
#include "app/QtTaskScheduler.h"
#include "app/Rotation.h"
#include "app/hotkeys/AppHotKeys.h"
#include "card/FloatingPanel.h"
#include "card/StockCardView.h"
#include "doubles/ManualClock.h"
#include "doubles/ManualQueue.h"
#include "market/MarketStore.h"
#include "model/AppPaths.h"
#include "model/ConfigStore.h"
#include "support/TempDir.h"
#include "ui/FakeScreenSource.h"
#include "ui/TestApplication.h"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

using testing::FakeScreenSource;

/// The delegate with its real expand and overview coordinators, over a store whose passes run by
/// hand, on a 1512 x 950 display.
class AppDelegateModesTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        clock.setChinaTime(2024, 11, 8, 10, 30);
        logStart = logText().size();
    }

    void TearDown() override {
        if (!delegate) return;
        delegate->applicationWillTerminate();
        delegate.reset();
        // Windows dropped with deleteLater (and their animations) go before this test's screens do.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void start(std::vector<std::string> codes) {
        AppConfig config;
        config.autoLaunch = false;
        config.viewRotateSeconds = 8;
        for (const std::string& code : codes) {
            config.watchlist.push_back({code, "", InstrumentKind::stock});
            Quote q;
            q.code = code;
            q.name = "股票" + code;
            q.price = 10.5;
            q.prevClose = 10.2;
            quotes[code] = q;
        }
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
        queue->runPending();
        main.drain();
    }

    ExpandCoordinator& expander() { return delegate->expandCoordinator(); }
    OverviewCoordinator& overview() { return delegate->overviewCoordinator(); }
    FloatingPanel& panel() { return *delegate->mainPanel(); }
    StockCardView& card() { return *delegate->card(); }

    /// The running expand or collapse has finished, with its completion.
    bool settleExpander() {
        return testing::waitUntil([&] { return !expander().isAnimating(); }, 3000);
    }
    bool expandFully() {
        delegate->modes().toggleExpand();
        return expander().isExpanded() && settleExpander();
    }

    static std::string logText() { return testing::readFile(AppPaths::logFile()); }
    std::string newLog() const { return logText().substr(logStart); }
    bool logged(const std::string& line) const { return newLog().find("INFO " + line) != std::string::npos; }
    int loggedCount(const std::string& line) const {
        const std::string log = newLog();
        int count = 0;
        for (std::size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
        return count;
    }

    ManualClock clock;
    std::shared_ptr<ManualQueue> queue = std::make_shared<ManualQueue>(clock);
    PostedTasks main;
    SourceHealth health;
    std::map<std::string, Quote> quotes;
    FakeScreenSource screens{{{QRect(0, 0, 1512, 950), QRect(0, 0, 1512, 950)}}};
    QtTaskScheduler scheduler;
    std::unique_ptr<MarketStore> store;
    std::unique_ptr<AppDelegate> delegate;
    std::size_t logStart = 0;
};

TEST_F(AppDelegateModesTest, ExpandingMovesTheCardToTheCornerOnTheIntradayViewAndCollapsingRestoresFrameAndView) {
    start({"600519", "300750"});
    delegate->cardPresenter().applyView(dailyCandles);
    panel().setFrameOrigin({300, 200});
    ASSERT_TRUE(delegate->cardPresenter().isViewRotationRunning());

    delegate->modes().toggleExpand();
    EXPECT_TRUE(expander().isExpanded());
    EXPECT_EQ(card().view(), intraday) << "expand mode shows the intraday chart";
    EXPECT_EQ(delegate->cardPresenter().currentView(), intraday);
    EXPECT_TRUE(card().expandMode());
    EXPECT_FALSE(delegate->cardPresenter().isViewRotationRunning()) << "the view timer stops while expanded";
    EXPECT_TRUE(logged("副图展开：主卡分时移到右上角，四块副图自上而下落下"));
    ASSERT_TRUE(settleExpander());
    EXPECT_TRUE(logged("副图展开：展开完成"));
    EXPECT_EQ(expander().panels().size(), 4u);
    EXPECT_TRUE(testing::waitUntil(
        [&] {
            return panel().frame().origin() == Point{1120, 696};
        },
        1000))
        << "main card in the top-right corner";

    delegate->modes().toggleExpand();
    EXPECT_TRUE(logged("副图展开：开始收起（自下而上卷起）"));
    ASSERT_TRUE(settleExpander());
    EXPECT_FALSE(expander().isExpanded());
    EXPECT_EQ(panel().frame(), (Rect{300, 200, 376, 242})) << "back to the frame before expanding";
    EXPECT_EQ(card().view(), dailyCandles) << "back to the view before expanding";
    EXPECT_EQ(delegate->cardPresenter().currentView(), dailyCandles);
    EXPECT_FALSE(card().expandMode());
    EXPECT_TRUE(delegate->cardPresenter().isViewRotationRunning());
    EXPECT_TRUE(logged("副图展开：已收起，主卡回到右下角，恢复视图轮播"));
}

TEST_F(AppDelegateModesTest, ToggleRequestsDuringAnAnimationAreIgnored) {
    start({"600519"});
    const auto toggles = delegate->hotKeyHandlers();
    toggles.toggleExpand();
    toggles.toggleExpand(); // ⌥⌘E twice within the animation
    toggles.toggleOverview();
    EXPECT_EQ(loggedCount("副图展开：主卡分时移到右上角"), 1);
    EXPECT_EQ(loggedCount("副图展开：开始收起"), 0) << "the second press does not start collapsing";
    EXPECT_FALSE(overview().isActive()) << "⌥⌘G during the expansion is dropped";
    ASSERT_TRUE(settleExpander());
    EXPECT_TRUE(expander().isExpanded());
    EXPECT_FALSE(overview().isActive());

    toggles.toggleExpand();
    toggles.toggleExpand();
    ASSERT_TRUE(settleExpander());
    EXPECT_FALSE(expander().isExpanded()) << "the press during the collapse does not expand again";
    EXPECT_EQ(loggedCount("副图展开：主卡分时移到右上角"), 1);
}

TEST_F(AppDelegateModesTest, QuittingWhileExpandedStoresTheOriginFromBeforeTheExpansion) {
    start({"600519"});
    panel().setFrameOrigin({300, 200});
    ASSERT_TRUE(expandFully());
    delegate->applicationWillTerminate();
    const AppConfig saved = ConfigStore::load();
    EXPECT_EQ(saved.originX, 300);
    EXPECT_EQ(saved.originY, 200);
    EXPECT_FALSE(expander().isExpanded()) << "the group is taken down without animation";
    EXPECT_TRUE(expander().panels().empty());
}

TEST_F(AppDelegateModesTest, OverviewHotKeyWhileExpandedCollapsesFirstThenShowsEveryVisibleSecurity) {
    start({"600519", "300750", "000001"});
    delegate->cardPresenter().applyView(fundFlow);
    ASSERT_TRUE(expandFully());

    delegate->hotKeyHandlers().toggleOverview();
    EXPECT_TRUE(logged("副图展开：开始收起（自下而上卷起）"));
    EXPECT_FALSE(overview().isActive()) << "not before the collapse is over";
    ASSERT_TRUE(testing::waitUntil([&] { return overview().isActive(); }, 3000));
    EXPECT_FALSE(expander().isExpanded());
    EXPECT_EQ(overview().entryCodes(), (std::vector<std::string>{"600519", "300750", "000001"}));
    EXPECT_EQ(overview().view(), fundFlow) << "the view from before expanding";
    EXPECT_FALSE(panel().isVisible()) << "the overview replaces the main card";
    EXPECT_TRUE(card().overviewMode());
    EXPECT_FALSE(delegate->cardPresenter().isStockRotationRunning());
    EXPECT_TRUE(logged("全览：已展开 3 只股票（隐藏 0 只），顶卡固定 + 单列滚动，当前视图=资金流"));
    EXPECT_EQ(loggedCount("全览：已展开"), 1) << "entered once, not again and again";

    delegate->hotKeyHandlers().toggleOverview();
    EXPECT_FALSE(overview().isActive());
    EXPECT_TRUE(panel().isVisible());
    EXPECT_FALSE(card().overviewMode());
    EXPECT_TRUE(logged("全览：已收起"));
}

TEST_F(AppDelegateModesTest, LeavingTheOverviewKeepsAPanelTheUserHidHiddenAndTakesTheOverviewOpacity) {
    start({"600519", "300750"});
    delegate->modes().enterOverview();
    ASSERT_TRUE(overview().isActive());
    overview().setOpacity(0.8);
    delegate->modes().exitOverview();
    EXPECT_TRUE(panel().isVisible());
    EXPECT_NEAR(panel().alphaValue(), 0.8, 0.01) << "the main card comes back at the overview's opacity";

    delegate->modes().enterOverview();
    delegate->placement().hidePanel();
    delegate->modes().exitOverview();
    EXPECT_FALSE(overview().isActive());
    EXPECT_FALSE(panel().isVisible()) << "hidden during overview mode stays hidden";
}

TEST_F(AppDelegateModesTest, HidingTheLastVisibleSecurityLeavesOverviewWithThePlaceholderOnTheCard) {
    start({"600519", "300750"});
    delegate->modes().enterOverview();
    ASSERT_TRUE(overview().isActive());

    overview().hideItem("600519");
    EXPECT_TRUE(overview().isActive());
    EXPECT_EQ(overview().entryCodes(), (std::vector<std::string>{"300750"}));
    EXPECT_TRUE(logged("隐藏股票 600519：全览与主卡轮播都不再展示，设置里可恢复"));
    EXPECT_EQ(card().entry()->item.code, "300750") << "the card moves off the hidden security";

    overview().hideItem("300750");
    EXPECT_FALSE(overview().isActive());
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(card().placeholderText(), std::string(Rotation::allHiddenPlaceholder));
    EXPECT_TRUE(logged("全览：可见股票已全部隐藏，退出全览"));
    EXPECT_EQ(loggedCount("全览：已收起"), 1) << "left once, the empty report finds the mode off";
    EXPECT_EQ(ConfigStore::load().hiddenCodes, (std::vector<std::string>{"600519", "300750"}));

    delegate->hideItem("300750");
    EXPECT_EQ(loggedCount("隐藏股票 300750"), 1) << "a code already hidden is not added again";
    delegate->modes().toggleOverview();
    EXPECT_FALSE(overview().isActive());
    EXPECT_TRUE(logged("全览：可见股票为空（全部被隐藏），不进入全览"));
}

} // namespace
} // namespace glimmer
