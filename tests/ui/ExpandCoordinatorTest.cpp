#include "layouts/ExpandCoordinator.h"
#include "card/FloatingPanel.h"
#include "card/Theme.h"
#include "card/charts/FlowView.h"
#include "card/charts/KLineView.h"
#include "card/charts/MACDView.h"
#include "card/charts/VolumeView.h"
#include "layouts/SubChartView.h"
#include "ui/FakeScreenSource.h"
#include "ui/LayoutSamples.h"
#include "ui/TestApplication.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

using testing::FakeScreenSource;

class ExpandCoordinatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        main.setAlphaValue(0.8);
    }

    void expand(std::function<void()> completion = {}) {
        coordinator.expand(main, 376, 242, 350, 0.8, true, samples::watchList(1)[0], std::move(completion));
    }
    /// The animation is over and the last window animations have had their final tick, which on a
    /// busy machine may come a frame after the completion.
    bool settle() {
        if (!testing::waitUntil([&] { return !coordinator.isAnimating(); }, 3000)) return false;
        const ExpandLayout::Plan plan = ExpandCoordinator::layout(376, 242, 350, {0, 0, 1512, 950});
        testing::waitUntil(
            [&] {
                const std::vector<Rect> frames = coordinator.subPanelFrames();
                return frames.empty() ||
                       (frames.back() == plan.subs.back() && coordinator.panels().back()->alphaValue() > 0.79);
            },
            500);
        return true;
    }

    // Before any window member: widgets need the application.
    bool hasApplication = (testing::ensureApplication(), true);
    FakeScreenSource screens{{{QRect(0, 0, 1512, 950), QRect(0, 0, 1512, 950)}}};
    FloatingPanel main{{1120, 16, 376, 242}, screens};
    ExpandCoordinator coordinator{screens};
};

TEST_F(ExpandCoordinatorTest, ExpansionMovesTheCardToTheCornerAndDropsFourTitledPanelsInColumnOrder) {
    int completions = 0;
    QElapsedTimer timer;
    timer.start();
    expand([&] { ++completions; });
    EXPECT_TRUE(coordinator.isExpanded());
    EXPECT_TRUE(coordinator.isAnimating());
    ASSERT_EQ(coordinator.panels().size(), 4u);
    EXPECT_EQ(coordinator.mainAnchor(), (Point{1120, 696}));
    EXPECT_EQ(coordinator.subOffsets()[0], (Point{26, 540 - 696}));

    ASSERT_TRUE(settle());
    EXPECT_GE(timer.elapsed(), 700) << "the last panel settles 0.76 s after the start";
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(main.frame().origin(), (Point{1120, 696}));
    const char* titles[] = {"Glimmerbox-MACD", "Glimmerbox-资金流", "Glimmerbox-量能", "Glimmerbox-日K"};
    const std::vector<Rect> frames = coordinator.subPanelFrames();
    const std::vector<FloatingPanel*> panels = coordinator.panels();
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(panels[k]->windowTitle(), QString::fromUtf8(titles[k]));
        EXPECT_TRUE(panels[k]->isVisible());
        EXPECT_NEAR(panels[k]->alphaValue(), 0.8, 0.01) << "sub panels take the card's opacity";
        EXPECT_TRUE(panels[k]->allowsOffscreenFrame());
        EXPECT_EQ(frames[k].x, 1146);
    }
    EXPECT_EQ(frames[3], (Rect{1146, 42, 350, 200}));
}

TEST_F(ExpandCoordinatorTest, SubChartViewsShowTheirChartsWithTheEntrysData) {
    expand();
    const std::vector<SubChartView*> views = coordinator.views();
    ASSERT_EQ(views.size(), 4u);
    EXPECT_NE(qobject_cast<MACDView*>(views[0]->chart()), nullptr);
    EXPECT_NE(qobject_cast<FlowView*>(views[1]->chart()), nullptr);
    EXPECT_NE(qobject_cast<VolumeView*>(views[2]->chart()), nullptr);
    EXPECT_NE(qobject_cast<KLineView*>(views[3]->chart()), nullptr);
    EXPECT_EQ(qobject_cast<MACDView*>(views[0]->chart())->minutes.size(), 241u);
    EXPECT_FALSE(qobject_cast<FlowView*>(views[1]->chart())->flow.empty());
    EXPECT_TRUE(qobject_cast<VolumeView*>(views[2]->chart())->quote.has_value());
    EXPECT_EQ(qobject_cast<KLineView*>(views[3]->chart())->bars.size(), 120u);

    // Live updates reach every chart.
    MarketEntry later = samples::watchList(2)[1];
    later.daily.resize(30);
    coordinator.update(later);
    EXPECT_EQ(qobject_cast<KLineView*>(views[3]->chart())->bars.size(), 30u);
    EXPECT_EQ(views[2]->entry()->item.code, "000858");
}

TEST_F(ExpandCoordinatorTest, SubChartChartFillsTheViewBelowItsTitle) {
    SubChartView view(fundFlow);
    view.resize(350, 150);
    view.show(); // a hidden widget gets its resize only when shown
    ASSERT_TRUE(testing::waitForExposed(view));
    EXPECT_EQ(view.chart()->geometry(), QRect(8, 18, 334, 124));
    EXPECT_EQ(SubChartView::chartFrame({12, 12}), QRectF(8, 18, 10, 10)) << "never collapses to nothing";
    EXPECT_EQ(view.view(), fundFlow);
}

TEST_F(ExpandCoordinatorTest, TogglesDuringAnAnimationAreIgnored) {
    coordinator.toggle(main);
    ASSERT_TRUE(coordinator.isAnimating());
    const std::vector<FloatingPanel*> first = coordinator.panels();
    coordinator.toggle(main); // a second ⌥⌘E within 0.76 s
    EXPECT_EQ(coordinator.panels(), first);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(coordinator.isExpanded());
    EXPECT_EQ(coordinator.frameBeforeExpand(), (Rect{1120, 16, 376, 242}));

    coordinator.toggle(main);
    EXPECT_TRUE(coordinator.isAnimating());
    coordinator.toggle(main);
    ASSERT_TRUE(settle());
    EXPECT_FALSE(coordinator.isExpanded()) << "the second request did not expand again";
    EXPECT_EQ(main.frame().origin(), (Point{1120, 16}));
}

TEST_F(ExpandCoordinatorTest, CollapseRollsUpFromTheBottomAndReturnsTheCardToItsFrame) {
    expand();
    ASSERT_TRUE(settle());
    const std::vector<FloatingPanel*> panels = coordinator.panels();
    int completions = 0;
    coordinator.collapse(main, {300, 200, 376, 242}, [&] { ++completions; });
    // The bottom panel fades first; each one above starts 0.1 s later, so it is never fainter.
    ASSERT_TRUE(testing::waitUntil([&] { return panels[3]->alphaValue() < 0.7; }, 1000));
    EXPECT_GT(panels[0]->alphaValue(), panels[3]->alphaValue());
    EXPECT_GE(panels[0]->alphaValue(), panels[1]->alphaValue());
    EXPECT_GE(panels[1]->alphaValue(), panels[2]->alphaValue());
    ASSERT_TRUE(settle());
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(coordinator.isExpanded());
    EXPECT_TRUE(coordinator.panels().empty());
    EXPECT_TRUE(coordinator.subOffsets().empty());
    EXPECT_FALSE(coordinator.mainAnchor().has_value());
    EXPECT_EQ(main.frame().origin(), (Point{300, 200}));
}

TEST_F(ExpandCoordinatorTest, ImmediateCollapseMidAnimationLeavesNoPanelAndLateStepsDoNothing) {
    bool completed = false;
    expand([&] { completed = true; });
    coordinator.collapseImmediately();
    EXPECT_FALSE(coordinator.isExpanded());
    EXPECT_FALSE(coordinator.isAnimating());
    EXPECT_TRUE(coordinator.panels().empty());
    testing::waitUntil([] { return false; }, 900);
    EXPECT_FALSE(completed);
    EXPECT_FALSE(coordinator.isExpanded());
    // And a new expansion works as before.
    expand();
    ASSERT_TRUE(settle());
    EXPECT_EQ(coordinator.panels().size(), 4u);
}

TEST_F(ExpandCoordinatorTest, FollowMovesTheColumnByTheCardsOffsetAndClampsTheCardToTheScreen) {
    expand();
    ASSERT_TRUE(settle());
    main.setFrameOrigin({900, 500});
    EXPECT_EQ(coordinator.follow(main), (Point{900, 500}));
    std::vector<Rect> frames = coordinator.subPanelFrames();
    EXPECT_EQ(frames[0].origin(), (Point{926, 344}));
    EXPECT_EQ(frames[3].origin(), (Point{926, 42 - 196}));

    main.setFrameOrigin({-120, 500});
    EXPECT_EQ(coordinator.follow(main), (Point{0, 500}));
    EXPECT_EQ(main.frame().origin(), (Point{0, 500}));
    frames = coordinator.subPanelFrames();
    EXPECT_EQ(frames[0].origin(), (Point{26, 344}));
    EXPECT_EQ(coordinator.mainAnchor(), (Point{0, 500}));
}

TEST_F(ExpandCoordinatorTest, FollowingIsOffWhileAnimatingOrCollapsedAndItsOwnMovesAreNotFollowedAgain) {
    EXPECT_FALSE(coordinator.follow(main).has_value());
    expand();
    EXPECT_FALSE(coordinator.follow(main).has_value()) << "the expansion moves the card itself";
    ASSERT_TRUE(settle());
    main.orderFront(); // moves are reported for shown windows
    ASSERT_TRUE(testing::waitForExposed(main));
    int nested = 0;
    main.onMove = [&] {
        if (coordinator.follow(main).has_value()) ++nested;
    };
    main.setFrameOrigin({-50, 300}); // the handler clamps, which moves the panel again
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(main.frame().origin(), (Point{0, 300}));
    main.onMove = nullptr;
}

TEST_F(ExpandCoordinatorTest, RelayoutRebuildsTheColumnUnderAResizedCard) {
    expand();
    ASSERT_TRUE(settle());
    main.setFrame({1020, 596, 476, 342});
    coordinator.relayout(main);
    const std::vector<Rect> frames = coordinator.subPanelFrames();
    EXPECT_EQ(frames[0].width, 450);
    EXPECT_EQ(frames[0].maxX(), 1496);
    EXPECT_EQ(frames[0].maxY(), 590);
    EXPECT_EQ(coordinator.mainAnchor(), (Point{1020, 596}));
    // Dragging afterwards keeps the new arrangement.
    main.setFrameOrigin({920, 596});
    coordinator.follow(main);
    EXPECT_EQ(coordinator.subPanelFrames()[0].origin(), (Point{920 + 26, frames[0].y}));
}

TEST_F(ExpandCoordinatorTest, WindowSettingsReachTheSubPanels) {
    coordinator.applyAppearance(ThemeMode::light);
    expand();
    for (FloatingPanel* panel : coordinator.panels()) EXPECT_FALSE(Theme::isDark(panel)) << "new panels take it";
    ASSERT_TRUE(settle());
    coordinator.applyTopmost(false);
    coordinator.setAlpha(0.4);
    coordinator.applyAppearance(ThemeMode::dark);
    for (FloatingPanel* panel : coordinator.panels()) {
        EXPECT_FALSE(panel->alwaysOnTop());
        EXPECT_NEAR(panel->alphaValue(), 0.4, 0.01);
        EXPECT_TRUE(Theme::isDark(panel));
    }
    coordinator.orderOut();
    for (FloatingPanel* panel : coordinator.panels()) EXPECT_FALSE(panel->isVisible());
    coordinator.orderFront();
    for (FloatingPanel* panel : coordinator.panels()) EXPECT_TRUE(panel->isVisible());
}

} // namespace
} // namespace glimmer
