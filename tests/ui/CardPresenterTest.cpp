#include "ui/AppTestSupport.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;
using Views = std::vector<ChartView>;
using Codes = std::vector<std::string>;

using testing::AppHarness;
using testing::quotedEntry;

/// Three securities on a card; security timer 25 s, view timer 5 s unless a test says otherwise.
class CardPresenterTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void reset(double autoRotate = 25, Views views = AppConfig{}.enabledViews) {
        app = std::make_unique<AppHarness>();
        app->store.list = {quotedEntry("600519", "贵州茅台", 1500, 1490), quotedEntry("300750", "宁德时代", 234, 230),
                           quotedEntry("510300", "沪深300ETF", 3.9, 3.88)};
        app->config = {.autoRotateSeconds = autoRotate, .viewRotateSeconds = 5, .enabledViews = std::move(views)};
    }
    void start() {
        app->buildPanel({100, 100, 376, 242});
        app->presenter.updateRotateTimer();
        app->presenter.refreshCard(true);
    }
    std::string onCard() const { return app->card->entry() ? app->card->entry()->item.code : ""; }

    std::unique_ptr<AppHarness> app;
};

TEST_F(CardPresenterTest, SecurityRotationStepsOverHiddenSecuritiesAndAllHiddenShowsThePlaceholder) {
    app->config.hiddenCodes = {"300750"};
    app->config.viewRotateSeconds = 0;
    app->store.list[2].updatedAt.reset();
    start();
    EXPECT_EQ(std::pair(onCard(), app->card->total()), std::pair(std::string("600519"), 2));
    app->scheduler.advance(25);
    // The card counts among the visible securities, the presenter in the whole list.
    EXPECT_EQ(std::tuple(onCard(), app->card->index(), app->presenter.currentIndex(), app->store.priorityCodes.back()),
              std::tuple("510300", 1, 2, std::optional<std::string>("510300")));
    app->scheduler.advance(25);
    EXPECT_EQ(onCard(), "600519");
    EXPECT_EQ(app->store.refreshedNow, Codes{"510300"}) << "one never loaded is fetched at once";
    app->config.hiddenCodes = {"300750", "510300"};
    app->presenter.updateRotateTimer();
    EXPECT_FALSE(app->presenter.isStockRotationRunning()) << "one visible security does not rotate";

    app->config.hiddenCodes = {"600519", "300750", "510300"};
    app->presenter.updateRotateTimer();
    app->presenter.refreshCard(true);
    EXPECT_EQ(std::tuple(app->card->entry().has_value(), app->card->placeholderText(), app->card->total(),
                         app->presenter.isStockRotationRunning(), app->overview.updates.back()),
              std::tuple(false, "股票池已全部隐藏（设置里可恢复）", 0, false, 0u));
    EXPECT_EQ(app->store.shownCodes, (std::vector<Codes>{{"600519"}, {"510300"}, {"600519"}, {}}))
        << "the store hears of each security on the card, once";
}

TEST_F(CardPresenterTest, ViewRotationWalksTheEnabledViewsThenMovesToTheNextSecurityOnItsFirstView) {
    const Views lists[] = {
        {intraday, macd, fundFlow, volume, dailyCandles}, {intraday, macd, dailyCandles}, {fundFlow}};
    for (const Views& views : lists) {
        reset(0, views);
        start();
        Views seen{app->card->view()};
        for (std::size_t i = 1; i < views.size(); ++i) {
            app->scheduler.advance(5);
            seen.push_back(app->card->view());
        }
        EXPECT_EQ(std::pair(seen, onCard()), std::pair(views, std::string("600519")));
        app->scheduler.advance(5);
        EXPECT_EQ(std::pair(onCard(), app->card->view()),
                  std::pair(std::string(views.size() > 1 ? "300750" : "600519"), views.front()))
            << "one view never rotates nor switches";
    }
}

TEST_F(CardPresenterTest, ASecurityJustSwitchedToIsNotSkippedWhenTheViewsEndAMomentLater) {
    // A switch made anywhere within the last view's interval, on the card's last view.
    for (const double before : {1.0, 4.0, 5.0}) {
        SCOPED_TRACE(before);
        reset(0);
        start();
        app->scheduler.advance(25 - before);
        app->presenter.switchStock(1, false);
        app->scheduler.advance(before);
        EXPECT_EQ(std::pair(onCard(), app->card->view()), std::pair(std::string("300750"), intraday));
        app->scheduler.advance(25);
        EXPECT_EQ(onCard(), "510300") << "the next full round of views moves on as usual";
    }
}

TEST_F(CardPresenterTest, APinnedCardKeepsItsSecurityAndAHiddenPanelPausesBothTimers) {
    reset(4, {intraday, macd});
    start();
    app->presenter.togglePin();
    EXPECT_EQ(std::pair(app->card->pinPaused(), app->saves), std::pair(true, 1));
    app->scheduler.advance(20);
    EXPECT_EQ(onCard(), "600519") << "neither timer nor the end of the views switches a pinned card";
    app->presenter.togglePin();
    app->scheduler.advance(4);
    EXPECT_EQ(onCard(), "300750");

    const ChartView view = app->card->view();
    app->panel->orderOut();
    app->scheduler.advance(60);
    EXPECT_EQ(std::pair(onCard(), app->card->view()), std::pair(std::string("300750"), view));
}

TEST_F(CardPresenterTest, AGlobalLockHoldsEverySecurityOnItsViewAndALockOutsideTheListIsDropped) {
    reset(0);
    start();
    app->presenter.toggleLock(dailyCandles);
    EXPECT_EQ(std::pair(app->config.lockedViewType, app->card->lockedView()),
              std::pair(std::optional(dailyCandles), std::optional(dailyCandles)));
    app->scheduler.advance(30);
    EXPECT_EQ(std::pair(onCard(), app->card->view()), std::pair(std::string("600519"), dailyCandles))
        << "the view timer does nothing under a lock";
    app->presenter.switchStock(1, true);
    EXPECT_EQ(app->card->view(), dailyCandles) << "a new security keeps the locked view";
    app->presenter.toggleLock(dailyCandles);
    EXPECT_EQ(std::pair(app->config.lockedViewType, app->saves), std::pair(std::optional<ChartView>(), 2));

    reset(25, {intraday, macd, dailyCandles});
    app->config.lockedViewType = volume;
    start();
    EXPECT_EQ(app->card->view(), volume) << "the start view is the locked one whatever the list";
    app->presenter.applyLockedView();
    EXPECT_EQ(std::pair(app->config.lockedViewType, app->card->view()),
              std::pair(std::optional<ChartView>(), intraday));
}

TEST_F(CardPresenterTest, OverviewCyclesViewsWithoutChangingSecurity) {
    app->config.enabledViews = {intraday, macd};
    start();
    app->overview.active = true;
    app->presenter.updateRotateTimer();
    app->scheduler.advance(10);
    EXPECT_EQ(std::tuple(app->presenter.isStockRotationRunning(), app->overview.views, onCard()),
              std::tuple(false, Views{macd, intraday}, "600519"));
    app->presenter.refreshCard(true);
    EXPECT_EQ(app->store.shownCodes.back(), (Codes{"600519", "300750", "510300"})) << "the overview shows them all";
}

TEST_F(CardPresenterTest, ContextMenuChecksTheViewAndTrayShowsTheHoldingsTotalsUnlessPrivateAndTheSecurityWhileHidden) {
    start();
    app->presenter.applyView(volume);
    const auto menu = app->presenter.buildContextMenu(false);
    for (QAction* action : menu->actions())
        EXPECT_EQ(action->isChecked(), action->text() == QStringLiteral("查看量能")) << action->text().toStdString();
    menu->actions().at(3)->trigger();
    EXPECT_EQ(app->card->view(), dailyCandles);
    EXPECT_NE(menu->actions().back()->text(), QStringLiteral("退出")) << "quit only without a tray";
    EXPECT_EQ(app->presenter.buildContextMenu(true)->actions().back()->text(), QStringLiteral("退出"));

    EXPECT_EQ(app->statusBar->title().style, StatusTitle::Style::iconOnly);
    app->store.list[0].item.shares = 100; // +1,000.00 today, +10,000.00 on a cost of 1,400
    app->store.list[0].item.cost = 1400;
    app->store.list[2].item.shares = 10000; // +200.00 today, no cost
    app->config.hiddenCodes = {"510300"};   // hidden from the card, still held
    app->presenter.refreshCard(true);
    const QString totals = QStringLiteral("\n今日盈亏 +1,200.00 / 持仓盈亏 +1.0 万");
    EXPECT_EQ(app->statusBar->statusItem()->toolTip(), QString::fromUtf8(StatusBarController::toolTip) + totals);
    app->placement.hidePanel();
    EXPECT_EQ(app->statusBar->toolTipText(), QStringLiteral("贵州茅台 +0.67%") + totals);
    app->config.privacyMode = true;
    app->presenter.updateStatusText();
    EXPECT_EQ(app->statusBar->statusItem()->toolTip(),
              QStringLiteral("贵州茅台 +0.67%\n今日盈亏 **** / 持仓盈亏 ****"));
}

} // namespace
} // namespace glimmer
