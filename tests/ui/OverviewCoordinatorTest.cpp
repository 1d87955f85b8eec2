#include "layouts/OverviewCoordinator.h"
#include "card/FloatingPanel.h"
#include "card/MinimalSlider.h"
#include "card/Theme.h"
#include "doubles/ManualClock.h"
#include "layouts/OverviewCardView.h"
#include "ui/CardSamples.h"
#include "ui/FakeScreenSource.h"
#include "ui/TestApplication.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

constexpr Rect laptop{0, 0, 1512, 950};

/// `count` watched securities, 600000 upwards, each with the sample stock's day.
std::vector<MarketEntry> watchList(std::size_t count) {
    std::vector<MarketEntry> list(count, samples::cardEntry());
    for (std::size_t i = 0; i < count; ++i) list[i].item.code = list[i].quote->code = std::to_string(600000 + i);
    return list;
}

/// Overview windows that exist (the coordinator's and any not deleted yet) and those shown.
std::pair<int, int> overviewWindows() {
    std::pair<int, int> count;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->windowTitle().startsWith(QStringLiteral("Glimmerbox-全览-"))) continue;
        ++count.first;
        count.second += window->isVisible();
    }
    return count;
}

class OverviewCoordinatorTest : public ::testing::Test {
protected:
    void show(std::size_t count, bool settled = true) {
        coordinator.onHideItem = [this](const std::string& code) { hidden.push_back(code); };
        coordinator.show(watchList(count), intraday, 350, 216, 0.9, true, laptop);
        if (settled) ASSERT_TRUE(settle());
    }
    /// At pace 0 the steps come at once; the clock then carries every slide to its end.
    bool settle(const std::function<bool()>& done = {}) {
        return testing::waitUntil([&] {
            clock.advance(1);
            return !coordinator.isAnimating() && (!done || done());
        });
    }
    std::vector<double> listTops() const {
        std::vector<double> tops;
        for (FloatingPanel* panel : coordinator.listPanels()) tops.push_back(panel->frame().maxY());
        return tops;
    }
    std::vector<std::string> listCodes() const {
        std::vector<std::string> codes;
        for (OverviewCardView* card : coordinator.listCards()) codes.push_back(card->entry()->item.code);
        return codes;
    }

    bool hasApplication = (testing::ensureApplication(), true);
    testing::FakeScreenSource screens{{{QRect(0, 0, 1512, 950), QRect(0, 0, 1512, 950)}}};
    ManualClock clock;
    OverviewCoordinator coordinator{screens, clock, 0};
    std::vector<std::string> hidden;
};

TEST_F(OverviewCoordinatorTest, BuildUpDropsAHeaderAndWindowsOnlyForTheCardsInReachAndTheCardSettingsReachThemAll) {
    show(13);
    // The fifth list card (top at -222) is within one card of the screen's bottom, the sixth is not.
    EXPECT_EQ(coordinator.panelFrames()[0], (Rect{555, 682, 376, 242}));
    EXPECT_EQ(listTops(), (std::vector<double>{674, 450, 226, 2, -222}));
    EXPECT_EQ(std::tuple(coordinator.headerPanel()->windowTitle(), coordinator.headerCard()->overviewActive(),
                         coordinator.headerCard()->opacitySlider()->value(), listCodes()[0]),
              std::tuple("Glimmerbox-全览-600000", true, 0.9, "600001"));

    coordinator.setView(fundFlow);
    coordinator.setOpacity(0.5);
    coordinator.applyTopmost(false);
    coordinator.applyAppearance(ThemeMode::dark);
    EXPECT_EQ(std::tuple(coordinator.headerCard()->opacitySlider()->value(),
                         std::lround(coordinator.headerPanel()->alphaValue() * 100)),
              std::tuple(0.5, 50));
    for (FloatingPanel* panel : coordinator.listPanels())
        EXPECT_EQ(std::tuple(panel->alwaysOnTop(), Theme::isDark(panel), std::lround(panel->alphaValue() * 100),
                             static_cast<OverviewCardView*>(panel->contentView())->view()),
                  std::tuple(false, true, 50, fundFlow));
    coordinator.setVisible(false);
    EXPECT_FALSE(coordinator.isVisible() || coordinator.listPanels()[0]->isVisible());
    EXPECT_TRUE(coordinator.isActive() && coordinator.isHiddenByOwner());
    coordinator.setCardSize(400, 250);
    EXPECT_TRUE(coordinator.isHiddenByOwner()) << "a rebuild does not undo the owner's hiding";
    EXPECT_FALSE(coordinator.isVisible() || coordinator.listPanels()[0]->isVisible()) << "nor shows its windows";
    EXPECT_EQ(coordinator.panelFrames()[1].width, 400);
    EXPECT_EQ(coordinator.listCards()[0]->view(), fundFlow) << "a rebuild keeps the view";
    coordinator.setVisible(true);
    EXPECT_TRUE(coordinator.isVisible() && !coordinator.isHiddenByOwner() && coordinator.listPanels()[0]->isVisible());
    std::string calls; // the cards' controls reach the owner
    const auto wire = [&](std::function<void()>& handler, const std::function<void()>& control, const char* name) {
        handler = [&calls, name] { calls += name; };
        control();
    };
    OverviewCardView& card = *coordinator.listCards()[0];
    wire(coordinator.onToggleOverview, card.onToggleOverview, "overview ");
    wire(coordinator.onToggleExpand, card.onToggleExpand, "expand ");
    wire(coordinator.onClose, card.onClose, "close ");
    wire(coordinator.onFocusRequest, card.onFocusRequest, "focus ");
    coordinator.onOpacityChange = [&](double value) { calls += std::to_string(value); };
    card.onOpacityChange(0.25);
    EXPECT_EQ(calls, "overview expand close focus 0.250000");
}

TEST_F(OverviewCoordinatorTest, WheelHandsWindowsOnToTheCardsComingIntoReachWhateverTheListLength) {
    for (const std::size_t count : {std::size_t(13), std::size_t(200)}) {
        SCOPED_TRACE(count);
        show(count);
        coordinator.setView(dailyCandles); // cards that get a window later show it too
        const Rect header = coordinator.headerPanel()->frame();
        const OverviewLayout& plan = coordinator.layoutPlan();
        const std::vector<std::string> codes = coordinator.entryCodes();
        std::size_t most = 0;
        const int made = overviewWindows().first;
        auto check = [&] {
            const double offset = coordinator.scrollOffset();
            const std::vector<std::size_t> at = coordinator.windowedListIndices();
            ASSERT_FALSE(at.empty());
            most = std::max(most, at.size());
            ASSERT_EQ(at.back() - at.front() + 1, at.size());
            ASSERT_EQ(overviewWindows().second, int(at.size()) + 1) << "windows out of reach are hidden";
            // In reach: the cards that meet the screen and one 224-point pitch above and below it.
            if (at.front() > 0) ASSERT_GE(plan.scrolledListFrame(at.front() - 1, offset).minY(), laptop.maxY() + 224);
            if (at.back() + 1 < plan.listFrames.size())
                ASSERT_LE(plan.scrolledListFrame(at.back() + 1, offset).maxY(), laptop.minY() - 224);
            for (std::size_t k = 0; k < at.size(); ++k) {
                FloatingPanel* panel = coordinator.listPanels()[k];
                OverviewCardView* card = coordinator.listCards()[k];
                ASSERT_EQ(std::tuple(panel->frame(), panel->isVisible(), panel->windowTitle().toStdString(),
                                     card->entry()->item.code, card->index(), card->view()),
                          std::tuple(plan.scrolledListFrame(at[k], offset), true, "Glimmerbox-全览-" + codes[at[k] + 1],
                                     codes[at[k] + 1], int(at[k]) + 1, dailyCandles));
            }
        };
        check();
        for (int notch = 0; notch < 2000 && coordinator.scrollOffset() < plan.maxScroll; ++notch) {
            coordinator.scroll(-OverviewCardView::pointsPerWheelNotch);
            check();
        }
        EXPECT_EQ(coordinator.headerPanel()->frame(), header);
        EXPECT_EQ(coordinator.listPanels().back()->frame().minY(), 24) << "the last card rests above the bottom inset";
        EXPECT_EQ(listCodes().back(), codes.back());
        coordinator.scroll(500);
        check();
        coordinator.scroll(1e6);
        EXPECT_EQ(coordinator.listPanels()[0]->frame().minY(), 458);
        // Bounded by the screen, not the list: 950 points and one 224-point pitch above and below.
        EXPECT_LE(most, 8u);
        EXPECT_LE(overviewWindows().first - made, 3) << "windows are handed on, not made for every card";
    }
    // A card without a window leaves the list and the windows stay as they are.
    const std::vector<FloatingPanel*> panels = coordinator.listPanels();
    coordinator.hideItem("600150");
    EXPECT_EQ(std::tuple(coordinator.entryCodes()[150], hidden, coordinator.listPanels() == panels,
                         coordinator.listCards()[0]->total()),
              std::tuple("600151", std::vector<std::string>{"600150"}, true, 199));
    coordinator.scroll(-1e6);
    EXPECT_EQ(std::tuple(listCodes().back(), coordinator.listCards().back()->index()), std::tuple("600199", 198));
}

TEST_F(OverviewCoordinatorTest, AWheelDuringTheBuildUpIsKeptARebuildEndsItForGoodAndSameCountUpdatesRefreshInPlace) {
    show(13, false);
    coordinator.scroll(-200);
    ASSERT_TRUE(settle());
    const std::vector<std::size_t> at = coordinator.windowedListIndices();
    for (std::size_t k = 0; k < at.size(); ++k)
        EXPECT_EQ(listTops()[k], coordinator.layoutPlan().listFrames[at[k]].maxY() + 200) << at[k];
    show(13, false);
    std::vector<MarketEntry> fresh = watchList(5);
    coordinator.update(fresh);
    clock.advance(1);
    testing::waitUntil([] { return false; }, 50); // a clock standing still while late steps could run
    EXPECT_FALSE(coordinator.isAnimating());
    for (FloatingPanel* panel : coordinator.listPanels()) EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(coordinator.panelFrames().size(), 5u);
    fresh[2].quote->price = 99.99; // as many as before: the cards are refreshed in place
    coordinator.update(fresh);
    EXPECT_DOUBLE_EQ(coordinator.listCards()[1]->entry()->quote->price, 99.99);
}

TEST_F(OverviewCoordinatorTest, HidingAListCardClosesTheGapAndHandsItsWindowOnAndHidingTheHeadersPromotesTheNext) {
    show(13);
    coordinator.scroll(-300);
    coordinator.listCards()[0]->onHideItem("600001"); // the eye button of the first list card
    EXPECT_EQ(coordinator.entryCodes()[1], "600002");
    EXPECT_EQ(listCodes(), (std::vector<std::string>{"600002", "600003", "600004", "600005", "600006", "600007"}));
    EXPECT_EQ(std::tuple(coordinator.layoutPlan().maxScroll, coordinator.scrollOffset()), std::tuple(2030 - 224, 300));
    ASSERT_TRUE(settle([&] { return coordinator.listPanels()[0]->frame().maxY() == 674 + 300; }));
    EXPECT_EQ(std::tuple(coordinator.listCards()[0]->index(), coordinator.listCards()[0]->total()), std::tuple(1, 12));
    coordinator.scroll(-5000); // near the end, the offset stays within the shorter list
    coordinator.hideItem("600012");
    EXPECT_EQ(coordinator.scrollOffset(), 2030 - 2 * 224);

    show(2);
    coordinator.headerCard()->onHideItem("600000");
    EXPECT_EQ(coordinator.entryCodes(), (std::vector<std::string>{"600001"}));
    EXPECT_EQ(coordinator.panelFrames(), (std::vector<Rect>{{555, 682, 376, 242}}));
    FloatingPanel* header = coordinator.headerPanel();
    coordinator.hideItem("600001");
    EXPECT_FALSE(coordinator.isActive() || header->isVisible());
    EXPECT_EQ(hidden, (std::vector<std::string>{"600001", "600012", "600000", "600001"}));
}

} // namespace
} // namespace glimmer
