#include "layouts/ExpandCoordinator.h"
#include "card/FloatingPanel.h"
#include "card/Theme.h"
#include "card/WindowAnimation.h"
#include "card/charts/KLineView.h"
#include "doubles/ManualClock.h"
#include "layouts/SubChartView.h"
#include "ui/CardSamples.h"
#include "ui/FakeScreenSource.h"
#include "ui/TestApplication.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

bool moving(const QObject& window) {
    const auto running = window.findChildren<WindowAnimation*>();
    return std::any_of(running.begin(), running.end(), [](WindowAnimation* each) { return each->isRunning(); });
}

class ExpandCoordinatorTest : public ::testing::Test {
protected:
    void SetUp() override { main.setAlphaValue(0.8); }

    void expand(std::function<void()> completion = {}) {
        coordinator.expand(main, 376, 242, 350, 0.8, true, samples::cardEntry(), std::move(completion));
    }
    /// At pace 0 the steps come at once; the clock then carries every move and fade to its end.
    bool settle(ExpandCoordinator& group) {
        return testing::waitUntil([&] {
            clock.advance(1);
            const std::vector<FloatingPanel*> panels = group.panels();
            return !group.isAnimating() && !moving(main) &&
                   std::none_of(panels.begin(), panels.end(), [](FloatingPanel* panel) { return moving(*panel); });
        });
    }
    bool settle() { return settle(coordinator); }

    bool hasApplication = (testing::ensureApplication(), true);
    testing::FakeScreenSource screens{{{QRect(0, 0, 1512, 950), QRect(0, 0, 1512, 950)}}};
    ManualClock clock;
    FloatingPanel main{{1120, 16, 376, 242}, screens};
    ExpandCoordinator coordinator{screens, clock, 0};
    int completions = 0;
};

TEST_F(ExpandCoordinatorTest, ExpansionMovesTheCardToTheCornerAndDropsFourTitledChartPanelsThatTakeTheWindowSettings) {
    coordinator.applyAppearance(ThemeMode::dark);
    expand([&] { ++completions; });
    ASSERT_EQ(coordinator.panels().size(), 4u);
    for (FloatingPanel* panel : coordinator.panels()) EXPECT_TRUE(Theme::isDark(panel)) << "new panels take it";
    ASSERT_TRUE(settle());
    EXPECT_EQ(std::tuple(completions, main.frame().origin(), coordinator.subPanelFrames()[3]),
              std::tuple(1, Point{1120, 696}, Rect{1146, 42, 350, 200}));
    const char* titles[] = {"Glimmerbox-MACD", "Glimmerbox-资金流", "Glimmerbox-量能", "Glimmerbox-日K"};
    for (std::size_t k = 0; k < 4; ++k) {
        FloatingPanel* panel = coordinator.panels()[k];
        EXPECT_EQ(panel->windowTitle(), QString::fromUtf8(titles[k]));
        EXPECT_TRUE(panel->isVisible() && panel->allowsOffscreenFrame());
        EXPECT_NEAR(panel->alphaValue(), 0.8, 0.01) << "sub panels take the card's opacity";
    }
    const std::vector<SubChartView*> views = coordinator.views();
    EXPECT_EQ(views[1]->chart()->geometry(), QRect(8, 18, 334, 124)) << "the chart fills the panel below its title";
    MarketEntry later = samples::cardEntry(false); // live updates reach every chart
    later.item.code = "000858";
    later.daily.resize(30);
    coordinator.update(later);
    EXPECT_EQ(std::tuple(qobject_cast<KLineView*>(views[3]->chart())->bars.size(), views[2]->entry()->item.code),
              std::tuple(30u, "000858"));
    coordinator.applyTopmost(false);
    coordinator.setAlpha(0.4);
    coordinator.applyAppearance(ThemeMode::light);
    coordinator.orderOut();
    for (FloatingPanel* panel : coordinator.panels()) {
        EXPECT_EQ(std::tuple(panel->alwaysOnTop(), panel->isVisible(), Theme::isDark(panel)),
                  std::tuple(false, false, false));
        EXPECT_NEAR(panel->alphaValue(), 0.4, 0.01);
    }
    coordinator.orderFront();
    for (FloatingPanel* panel : coordinator.panels()) EXPECT_TRUE(panel->isVisible());
}

TEST_F(ExpandCoordinatorTest, TogglesDuringAnAnimationAreIgnoredCollapsingRestoresTheFrameAndFadesOutFromTheBottomUp) {
    coordinator.toggle(main);
    ASSERT_TRUE(coordinator.isAnimating());
    const std::vector<FloatingPanel*> first = coordinator.panels();
    coordinator.toggle(main); // a second hot key press while the panels come in
    EXPECT_EQ(coordinator.panels(), first);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(coordinator.isExpanded());
    EXPECT_EQ(coordinator.frameBeforeExpand(), (Rect{1120, 16, 376, 242}));
    EXPECT_EQ(coordinator.subPanelFrames()[0].x, 1146) << "the column is as wide as the card's body";
    coordinator.toggle(main);
    coordinator.toggle(main);
    ASSERT_TRUE(settle());
    EXPECT_FALSE(coordinator.isExpanded()) << "the second request did not expand again";
    EXPECT_EQ(main.frame().origin(), (Point{1120, 16}));

    expand();
    ASSERT_TRUE(settle());
    coordinator.collapse(main, {300, 200, 376, 242}, [&] { ++completions; });
    ASSERT_TRUE(settle());
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(coordinator.panels().empty() && coordinator.subOffsets().empty() && !coordinator.mainAnchor());
    EXPECT_EQ(main.frame().origin(), (Point{300, 200}));

    ExpandCoordinator paced(screens, clock, 1); // steps 100 ms apart, clear even on a busy machine
    paced.expand(main, 376, 242, 350, 0.8, true, samples::cardEntry());
    ASSERT_TRUE(settle(paced));
    const std::vector<FloatingPanel*> panels = paced.panels();
    paced.collapse(main, {300, 200, 376, 242});
    for (int k = 3; k >= 0; --k) {
        ASSERT_TRUE(testing::waitUntil([&] { return moving(*panels[k]); }));
        for (int above = 0; above < k; ++above) EXPECT_FALSE(moving(*panels[above])) << k << " " << above;
    }
    paced.collapseImmediately();
}

TEST_F(ExpandCoordinatorTest, TheColumnFollowsTheCardClampedToTheScreenButNotItsOwnMovesNorWhileAnimating) {
    expand();
    EXPECT_FALSE(coordinator.follow(main).has_value()) << "the expansion moves the card itself";
    ASSERT_TRUE(settle());
    main.setFrameOrigin({900, 500});
    EXPECT_EQ(coordinator.follow(main), (Point{900, 500}));
    EXPECT_EQ(coordinator.subPanelFrames()[3].origin(), (Point{926, 42 - 196}));
    main.orderFront(); // moves are reported for shown windows
    ASSERT_TRUE(testing::waitForExposed(main));
    int nested = 0;
    main.onMove = [&] { nested += coordinator.follow(main).has_value(); };
    main.setFrameOrigin({-120, 500}); // the handler clamps, which moves the panel again
    main.onMove = nullptr;
    EXPECT_EQ(std::tuple(nested, main.frame().origin(), coordinator.subPanelFrames()[0].origin()),
              std::tuple(1, Point{0, 500}, Point{26, 344}));
    // A relayout rebuilds the column under a resized card, and drags keep it.
    main.setFrame({1020, 596, 476, 342});
    coordinator.relayout(main);
    const std::vector<Rect> frames = coordinator.subPanelFrames();
    EXPECT_EQ(std::tuple(frames[0].x, frames[0].width, frames[0].maxY()), std::tuple(1046.0, 450.0, 590.0));
    EXPECT_EQ(coordinator.mainAnchor(), (Point{1020, 596}));
    main.setFrameOrigin({920, 596});
    coordinator.follow(main);
    EXPECT_EQ(coordinator.subPanelFrames()[0].origin(), (Point{946, frames[0].y}));
}

} // namespace
} // namespace glimmer
