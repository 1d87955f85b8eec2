#include "layouts/OverviewCoordinator.h"
#include "card/FloatingPanel.h"
#include "card/MinimalSlider.h"
#include "card/Theme.h"
#include "doubles/ManualClock.h"
#include "layouts/OverviewCardView.h"
#include "ui/FakeScreenSource.h"
#include "ui/LayoutSamples.h"
#include "ui/TestApplication.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

using testing::FakeScreenSource;

constexpr Rect laptop{0, 0, 1512, 950};

class OverviewCoordinatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        coordinator.onHideItem = [this](const std::string& code) { hidden.push_back(code); };
        coordinator.onEmpty = [this] { ++empties; };
    }

    void show(std::size_t count, bool settle = true) {
        coordinator.show(samples::watchList(count), intraday, 350, 216, 0.9, true, laptop);
        if (settle) {
            ASSERT_TRUE(testing::waitUntil([&] { return !coordinator.isAnimating(); }, 3000));
        }
    }
    std::vector<double> listTops() const {
        std::vector<double> tops;
        for (FloatingPanel* panel : coordinator.listPanels()) tops.push_back(panel->frame().maxY());
        return tops;
    }

    // Before any window member: widgets need the application.
    bool hasApplication = (testing::ensureApplication(), true);
    FakeScreenSource screens{{{QRect(0, 0, 1512, 950), QRect(0, 0, 1512, 950)}}};
    OverviewCoordinator coordinator{screens};
    std::vector<std::string> hidden;
    int empties = 0;
};

TEST_F(OverviewCoordinatorTest, ShowBuildsAHeaderAndListWindowsOnlyForTheCardsInReachOfTheScreen) {
    show(13);
    EXPECT_TRUE(coordinator.isActive());
    EXPECT_TRUE(coordinator.isVisible());
    EXPECT_EQ(coordinator.scrollItemCount(), 12);
    const std::vector<Rect> frames = coordinator.panelFrames();
    // The fifth list card (top at -222) is within one card of the screen's bottom, the sixth is not.
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(coordinator.windowedListIndices(), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(frames[0], (Rect{555, 682, 376, 242}));
    EXPECT_EQ(frames[1], (Rect{581, 458, 350, 216}));
    EXPECT_EQ(frames[2], (Rect{581, 234, 350, 216}));
    EXPECT_EQ(coordinator.headerPanel()->windowTitle(), "Glimmerbox-全览-600519");
    EXPECT_NEAR(coordinator.headerPanel()->alphaValue(), 0.9, 0.01);
    EXPECT_EQ(coordinator.headerCard()->style(), OverviewCardView::Style::header);
    EXPECT_TRUE(coordinator.headerCard()->overviewActive());
    EXPECT_DOUBLE_EQ(coordinator.headerCard()->opacitySlider()->value(), 0.9);
    EXPECT_EQ(coordinator.listCards()[1]->style(), OverviewCardView::Style::plain);
    EXPECT_EQ(coordinator.listCards()[1]->index(), 2);
    EXPECT_EQ(coordinator.listCards()[1]->total(), 13);
    EXPECT_EQ(coordinator.entryCodes()[1], "000858");
}

TEST_F(OverviewCoordinatorTest, BuildUpDropsTheWindowsInFromAboveOneAfterAnother) {
    show(4, false);
    EXPECT_TRUE(coordinator.isAnimating());
    // The last list card has not started yet when the header is already on its way.
    EXPECT_TRUE(coordinator.headerPanel()->isVisible());
    EXPECT_FALSE(coordinator.listPanels()[2]->isVisible());
    ASSERT_TRUE(testing::waitUntil([&] { return !coordinator.isAnimating(); }, 2000));
    ASSERT_TRUE(testing::waitUntil([&] { return coordinator.listPanels()[2]->alphaValue() > 0.89; }, 1000));
    EXPECT_EQ(listTops(), (std::vector<double>{674, 450, 226}));
}

TEST_F(OverviewCoordinatorTest, TheBuildUpLastsUntilTheLastWindowHasSettled) {
    // A clock that stands still stands for a machine too busy to move the windows on time.
    ManualClock still;
    OverviewCoordinator slow(screens, still);
    slow.show(samples::watchList(3), intraday, 350, 216, 0.9, true, laptop);
    testing::waitUntil([] { return false; }, 500);
    EXPECT_TRUE(slow.isAnimating()) << "the windows have not reached their places";
    still.advance(1);
    ASSERT_TRUE(testing::waitUntil([&] { return !slow.isAnimating(); }, 1000));
    for (FloatingPanel* panel : slow.listPanels()) EXPECT_NEAR(panel->alphaValue(), 0.9, 0.01);
    EXPECT_EQ(slow.listPanels()[1]->frame().maxY(), 450);
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
        // Every card that meets the screen has a window at its place with its own security.
        auto check = [&] {
            const double offset = coordinator.scrollOffset();
            const std::vector<std::size_t> at = coordinator.windowedListIndices();
            const std::vector<FloatingPanel*> panels = coordinator.listPanels();
            const std::vector<OverviewCardView*> cards = coordinator.listCards();
            ASSERT_FALSE(at.empty());
            most = std::max(most, at.size());
            ASSERT_EQ(at.back() - at.front() + 1, at.size());
            if (at.front() > 0) ASSERT_GE(plan.scrolledListFrame(at.front() - 1, offset).minY(), laptop.maxY());
            if (at.back() + 1 < plan.listFrames.size())
                ASSERT_LE(plan.scrolledListFrame(at.back() + 1, offset).maxY(), laptop.minY());
            for (std::size_t k = 0; k < at.size(); ++k) {
                ASSERT_EQ(panels[k]->frame(), plan.scrolledListFrame(at[k], offset)) << at[k];
                ASSERT_TRUE(panels[k]->isVisible());
                ASSERT_EQ(panels[k]->windowTitle().toStdString(), "Glimmerbox-全览-" + codes[at[k] + 1]);
                ASSERT_EQ(cards[k]->entry()->item.code, codes[at[k] + 1]);
                ASSERT_EQ(cards[k]->index(), int(at[k]) + 1);
                ASSERT_EQ(cards[k]->view(), dailyCandles);
            }
        };
        check();
        while (coordinator.scrollOffset() < plan.maxScroll) {
            coordinator.scroll(-OverviewCardView::pointsPerWheelNotch);
            check();
        }
        EXPECT_EQ(coordinator.headerPanel()->frame(), header);
        EXPECT_EQ(coordinator.scrollOffset(), plan.maxScroll);
        EXPECT_EQ(coordinator.listPanels().back()->frame().minY(), 24) << "the last card rests above the bottom inset";
        EXPECT_EQ(coordinator.listCards().back()->entry()->item.code, codes.back());
        EXPECT_EQ(coordinator.listCards().back()->index(), int(count) - 1);
        coordinator.scroll(500);
        check();
        coordinator.scroll(1e6);
        EXPECT_EQ(coordinator.scrollOffset(), 0);
        EXPECT_EQ(coordinator.listPanels()[0]->frame().minY(), 458);
        // Bounded by the screen, not the list: 950 points and one 224-point pitch above and below.
        EXPECT_LE(most, 8u);
    }
}

TEST_F(OverviewCoordinatorTest, AWheelDuringTheBuildUpIsKeptByTheCardsStillDroppingIn) {
    show(13, false);
    coordinator.scroll(-200);
    ASSERT_TRUE(testing::waitUntil([&] { return !coordinator.isAnimating(); }, 3000));
    testing::waitUntil([] { return false; }, 100);
    const std::vector<FloatingPanel*> panels = coordinator.listPanels();
    const std::vector<std::size_t> at = coordinator.windowedListIndices();
    for (std::size_t k = 0; k < panels.size(); ++k) {
        EXPECT_EQ(panels[k]->frame().minY(), coordinator.layoutPlan().listFrames[at[k]].minY() + 200) << at[k];
    }
}

TEST_F(OverviewCoordinatorTest, ARebuildDuringTheBuildUpEndsItForGood) {
    show(13, false);
    coordinator.update(samples::watchList(5));
    EXPECT_FALSE(coordinator.isAnimating());
    testing::waitUntil([] { return false; }, 700);
    EXPECT_FALSE(coordinator.isAnimating());
    for (FloatingPanel* panel : coordinator.listPanels()) EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(coordinator.panelFrames().size(), 5u);
}

TEST_F(OverviewCoordinatorTest, ShortListsDoNotScroll) {
    show(3);
    coordinator.scroll(-200);
    EXPECT_EQ(coordinator.scrollOffset(), 0);
    EXPECT_EQ(listTops(), (std::vector<double>{674, 450}));
    show(1);
    EXPECT_EQ(coordinator.panelFrames().size(), 1u);
    EXPECT_TRUE(coordinator.listPanels().empty());
}

TEST_F(OverviewCoordinatorTest, HidingAListCardClosesTheGapAndReportsTheCode) {
    show(13);
    coordinator.scroll(-300);
    coordinator.listCards()[0]->onHideItem("000858"); // the eye button of the first list card
    EXPECT_EQ(hidden, std::vector<std::string>{"000858"});
    const std::vector<std::string> codes = coordinator.entryCodes();
    EXPECT_EQ(codes.size(), 12u);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "000858"), 0);
    // Its window went to the card coming into reach at the bottom.
    ASSERT_EQ(coordinator.listPanels().size(), 6u);
    for (OverviewCardView* card : coordinator.listCards()) EXPECT_NE(card->entry()->item.code, "000858");
    EXPECT_EQ(coordinator.listCards().back()->entry()->item.code, codes[6]);
    EXPECT_EQ(coordinator.layoutPlan().maxScroll, 2030 - 224);
    EXPECT_EQ(coordinator.scrollOffset(), 300);
    // The next card slides up into the gap.
    ASSERT_TRUE(testing::waitUntil([&] { return coordinator.listPanels()[0]->frame().maxY() == 674 + 300; }, 1000));
    EXPECT_EQ(coordinator.listCards()[0]->entry()->item.code, "601318");
    EXPECT_EQ(coordinator.listCards()[0]->index(), 1);
    EXPECT_EQ(coordinator.listCards()[0]->total(), 12);
}

TEST_F(OverviewCoordinatorTest, HidingNearTheEndKeepsTheOffsetWithinTheShorterList) {
    show(13);
    coordinator.scroll(-5000);
    coordinator.hideItem("601888");
    EXPECT_EQ(coordinator.scrollOffset(), 2030 - 224);
}

TEST_F(OverviewCoordinatorTest, HidingACardWithoutAWindowRemovesItAndLeavesTheWindowsAlone) {
    show(200);
    const std::vector<FloatingPanel*> panels = coordinator.listPanels();
    const std::string far = coordinator.entryCodes()[150];
    coordinator.hideItem(far);
    EXPECT_EQ(hidden, std::vector<std::string>{far});
    std::vector<std::string> codes = coordinator.entryCodes();
    EXPECT_EQ(codes.size(), 199u);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), far), 0);
    EXPECT_EQ(coordinator.listPanels(), panels);
    EXPECT_EQ(coordinator.listCards()[0]->total(), 199);
    coordinator.scroll(-1e6);
    EXPECT_EQ(coordinator.scrollOffset(), coordinator.layoutPlan().maxScroll);
    EXPECT_EQ(coordinator.listCards().back()->entry()->item.code, codes.back());
    EXPECT_EQ(coordinator.listCards().back()->index(), 198);
}

TEST_F(OverviewCoordinatorTest, HidingTheHeadersSecurityPromotesTheNextOne) {
    show(3);
    coordinator.headerCard()->onHideItem("600519");
    EXPECT_EQ(coordinator.entryCodes(), (std::vector<std::string>{"000858", "601318"}));
    EXPECT_EQ(coordinator.headerCard()->entry()->item.code, "000858");
    EXPECT_EQ(coordinator.headerPanel()->windowTitle(), "Glimmerbox-全览-000858");
    EXPECT_EQ(coordinator.panelFrames()[0], (Rect{555, 682, 376, 242}));
    EXPECT_EQ(coordinator.listPanels().size(), 1u);
    EXPECT_TRUE(coordinator.listPanels()[0]->isVisible());
    EXPECT_EQ(hidden, std::vector<std::string>{"600519"});
    EXPECT_EQ(empties, 0);
}

TEST_F(OverviewCoordinatorTest, HidingTheLastSecurityLeavesOverviewAndReportsEmpty) {
    show(1);
    FloatingPanel* header = coordinator.headerPanel();
    coordinator.hideItem("nope");
    EXPECT_TRUE(hidden.empty());
    bool activeWhenEmpty = false;
    coordinator.onEmpty = [&] {
        ++empties;
        activeWhenEmpty = coordinator.isActive(); // so the owner can still leave the mode
    };
    coordinator.hideItem("600519");
    EXPECT_FALSE(coordinator.isActive());
    EXPECT_EQ(empties, 1);
    EXPECT_TRUE(activeWhenEmpty);
    EXPECT_EQ(hidden, std::vector<std::string>{"600519"});
    EXPECT_FALSE(header->isVisible());
    EXPECT_EQ(coordinator.headerPanel(), nullptr);
}

TEST_F(OverviewCoordinatorTest, UpdatesRefreshCardsInPlaceAndRebuildWhenTheCountChanges) {
    show(4);
    FloatingPanel* header = coordinator.headerPanel();
    std::vector<MarketEntry> fresh = samples::watchList(4);
    fresh[2].quote->price = 99.99;
    coordinator.update(fresh);
    EXPECT_EQ(coordinator.headerPanel(), header) << "same count: the same windows";
    EXPECT_DOUBLE_EQ(coordinator.listCards()[1]->entry()->quote->price, 99.99);

    coordinator.update(samples::watchList(6));
    EXPECT_EQ(coordinator.panelFrames().size(), 6u);
    EXPECT_TRUE(coordinator.listPanels()[4]->isVisible());
    EXPECT_NEAR(coordinator.listPanels()[4]->alphaValue(), 0.9, 0.01) << "rebuilt without animation";

    coordinator.rebuild({});
    EXPECT_FALSE(coordinator.isActive());
    coordinator.update(samples::watchList(3));
    EXPECT_FALSE(coordinator.isActive()) << "updates never bring it back";
}

TEST_F(OverviewCoordinatorTest, CardSettingsAndVisibilityReachEveryWindow) {
    show(5);
    coordinator.setView(fundFlow);
    coordinator.setOpacity(0.5);
    coordinator.applyTopmost(false);
    coordinator.applyAppearance(ThemeMode::dark);
    EXPECT_DOUBLE_EQ(coordinator.headerCard()->opacitySlider()->value(), 0.5);
    for (OverviewCardView* card : coordinator.listCards()) EXPECT_EQ(card->view(), fundFlow);
    EXPECT_EQ(coordinator.headerCard()->view(), fundFlow);
    for (FloatingPanel* panel : coordinator.listPanels()) {
        EXPECT_NEAR(panel->alphaValue(), 0.5, 0.01);
        EXPECT_FALSE(panel->alwaysOnTop());
        EXPECT_TRUE(Theme::isDark(panel));
    }
    coordinator.setVisible(false);
    EXPECT_FALSE(coordinator.isVisible());
    EXPECT_TRUE(coordinator.isActive());
    EXPECT_TRUE(coordinator.isHiddenByOwner());
    for (FloatingPanel* panel : coordinator.listPanels()) EXPECT_FALSE(panel->isVisible());
    coordinator.setCardSize(380, 230);
    EXPECT_TRUE(coordinator.isHiddenByOwner()) << "a rebuild does not undo the owner's hiding";
    coordinator.setVisible(true);
    EXPECT_TRUE(coordinator.isVisible());
    EXPECT_FALSE(coordinator.isHiddenByOwner());

    coordinator.setCardSize(400, 250);
    EXPECT_EQ(coordinator.panelFrames()[1].width, 400);
    EXPECT_EQ(coordinator.listCards()[0]->view(), fundFlow) << "a rebuild keeps the view";
}

TEST_F(OverviewCoordinatorTest, CardCallbacksReachTheOwner) {
    int toggles = 0, expands = 0, closes = 0, focus = 0, hovers = 0;
    double opacity = 0;
    coordinator.onToggleOverview = [&] { ++toggles; };
    coordinator.onToggleExpand = [&] { ++expands; };
    coordinator.onClose = [&] { ++closes; };
    coordinator.onFocusRequest = [&] { ++focus; };
    coordinator.onHoverChanged = [&] { ++hovers; };
    coordinator.onOpacityChange = [&](double v) { opacity = v; };
    show(13);
    OverviewCardView* card = coordinator.listCards()[3];
    card->onToggleOverview();
    card->onToggleExpand();
    card->onClose();
    card->onFocusRequest();
    card->onHover(true);
    coordinator.headerCard()->onOpacityChange(0.6);
    card->onScroll(-120);
    EXPECT_EQ(std::tie(toggles, expands, closes, focus, hovers), std::make_tuple(1, 1, 1, 1, 1));
    EXPECT_DOUBLE_EQ(opacity, 0.6);
    EXPECT_EQ(coordinator.scrollOffset(), 120);
}

TEST_F(OverviewCoordinatorTest, HideDuringTheBuildUpLeavesNoWindowAndLateRevealsDoNothing) {
    show(13, false);
    std::vector<QPointer<FloatingPanel>> panels;
    for (FloatingPanel* panel : coordinator.listPanels()) panels.emplace_back(panel);
    coordinator.hide();
    EXPECT_FALSE(coordinator.isActive());
    EXPECT_TRUE(coordinator.panelFrames().empty());
    EXPECT_TRUE(coordinator.entries().empty());
    testing::waitUntil([] { return false; }, 700);
    for (const QPointer<FloatingPanel>& panel : panels) EXPECT_TRUE(panel.isNull() || !panel->isVisible());
    EXPECT_FALSE(coordinator.isAnimating());
}

} // namespace
} // namespace glimmer
