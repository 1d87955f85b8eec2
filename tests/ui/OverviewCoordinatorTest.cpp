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

TEST_F(OverviewCoordinatorTest, ShowBuildsAHeaderAndOneListWindowPerFurtherSecurity) {
    show(13);
    EXPECT_TRUE(coordinator.isActive());
    EXPECT_TRUE(coordinator.isVisible());
    EXPECT_EQ(coordinator.scrollItemCount(), 12);
    const std::vector<Rect> frames = coordinator.panelFrames();
    ASSERT_EQ(frames.size(), 13u);
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

TEST_F(OverviewCoordinatorTest, WheelMovesTheListButNotTheHeaderAndStopsAtBothEnds) {
    show(13);
    const Rect header = coordinator.headerPanel()->frame();
    coordinator.scroll(-200);
    EXPECT_EQ(coordinator.scrollOffset(), 200);
    EXPECT_EQ(coordinator.headerPanel()->frame(), header);
    EXPECT_EQ(coordinator.listPanels()[0]->frame().minY(), 658);
    EXPECT_EQ(coordinator.listPanels()[11]->frame().minY(), 24 - 2030 + 200);
    coordinator.scroll(500);
    EXPECT_EQ(coordinator.scrollOffset(), 0);
    EXPECT_EQ(coordinator.listPanels()[0]->frame().minY(), 458);
    coordinator.scroll(-5000);
    EXPECT_EQ(coordinator.scrollOffset(), 2030);
    EXPECT_EQ(coordinator.listPanels()[11]->frame().minY(), 24) << "the last card rests above the bottom inset";
}

TEST_F(OverviewCoordinatorTest, AWheelDuringTheBuildUpIsKeptByTheCardsStillDroppingIn) {
    show(13, false);
    coordinator.scroll(-200);
    ASSERT_TRUE(testing::waitUntil([&] { return !coordinator.isAnimating(); }, 3000));
    testing::waitUntil([] { return false; }, 100);
    const std::vector<FloatingPanel*> panels = coordinator.listPanels();
    for (std::size_t i = 0; i < panels.size(); ++i) {
        EXPECT_EQ(panels[i]->frame().minY(), coordinator.layoutPlan().listFrames[i].minY() + 200) << i;
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
    QPointer<FloatingPanel> gone = coordinator.listPanels()[0];
    coordinator.listCards()[0]->onHideItem("000858"); // the eye button of the first list card
    EXPECT_EQ(hidden, std::vector<std::string>{"000858"});
    EXPECT_TRUE(gone.isNull() || !gone->isVisible());
    const std::vector<std::string> codes = coordinator.entryCodes();
    EXPECT_EQ(codes.size(), 12u);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "000858"), 0);
    ASSERT_EQ(coordinator.listPanels().size(), 11u);
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
