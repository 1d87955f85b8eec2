#include "ui/AppTestSupport.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::AppHarness;

// One 1440 x 900 display without bars, in Qt's top-left coordinates.
const ScreenGeometry mainDisplay{QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900)};

class PanelPlacementTest : public ::testing::Test {
protected:
    AppHarness app{{mainDisplay}};
};

TEST_F(PanelPlacementTest, ADragAndTheOpacitySliderAreSavedOnceAfterTheLastChange) {
    app.buildPanel({400, 300, 376, 242});
    for (int step = 0; step < 40; ++step) { // 2 s of moves, one every 50 ms
        app.panel->setFrameOrigin({400.0 + step, 300});
        app.placement.panelDidMove();
        app.scheduler.advance(0.05);
    }
    app.scheduler.advance(0.54); // 0.59 s after the last move
    EXPECT_EQ(app.saves, 0);
    app.scheduler.advance(0.02);
    EXPECT_EQ(app.saves, 1);
    EXPECT_EQ(std::tuple(app.config.originX, app.config.originY), std::tuple(439.0, 300.0));

    for (double value : {0.5, 0.6, 0.7, 0.8}) {
        app.placement.setOpacityFromSlider(value);
        app.scheduler.advance(0.2);
    }
    EXPECT_DOUBLE_EQ(app.panel->alphaValue(), 0.8);
    EXPECT_EQ(app.saves, 1);
    app.scheduler.advance(0.31);
    EXPECT_EQ(app.saves, 2);
    EXPECT_DOUBLE_EQ(app.config.opacity, 0.8);
    app.scheduler.advance(5);
    EXPECT_EQ(app.saves, 2);
}

TEST_F(PanelPlacementTest, ReleasingNearAnEdgeSnapsAndSavesOnceElsewhereClearsTheSideUnlessPinned) {
    app.buildPanel({20, 300, 376, 242});
    app.placement.dragEnd(DockSide::left);
    EXPECT_EQ(app.panel->frame().x, 0);
    EXPECT_EQ(app.config.dockSide, DockSide::left);
    EXPECT_EQ(app.config.originX, 0);
    EXPECT_EQ(app.saves, 1);
    EXPECT_TRUE(app.logged("INFO 浮窗吸附到屏幕左侧 origin=(0,300)"));
    EXPECT_FALSE(app.placement.areOriginSavesHeld());
    app.placement.snapPanel(DockSide::left, true); // already there: only logged and saved
    EXPECT_TRUE(app.logged("INFO 浮窗贴边位置不变：屏幕左侧 origin=(0,300)"));
    EXPECT_EQ(app.loggedCount("INFO 浮窗吸附到屏幕"), 1);
    EXPECT_EQ(app.saves, 2);

    app.panel->setFrameOrigin({500, 300});
    app.placement.dragEnd(std::nullopt);
    EXPECT_FALSE(app.config.dockSide.has_value());
    EXPECT_EQ(app.config.originX, 500);

    app.config.dockPinned = true;
    app.config.dockSide = DockSide::right;
    app.placement.dragEnd(std::nullopt);
    EXPECT_TRUE(app.logged("INFO 常驻模式下拖离边缘，回弹到屏幕右侧"));
    EXPECT_EQ(app.panel->frame().maxX(), 1440);
    EXPECT_EQ(app.config.originX, 1064);
}

TEST_F(PanelPlacementTest, SwitchingPinnedModeOnDocksAPanelNearAnEdge) {
    app.buildPanel({30, 300, 376, 242});
    app.config.dockPinned = true;
    app.placement.pinnedModeChanged();
    EXPECT_TRUE(app.logged("INFO 常驻模式开启：当前已贴近屏幕左侧，立即固定"));
    EXPECT_EQ(app.panel->frame().x, 0);

    app.panel->setFrameOrigin({500, 300});
    app.placement.pinnedModeChanged();
    EXPECT_TRUE(app.logged("INFO 常驻模式开启：拖到屏幕左/右边缘松手即可固定"));
    EXPECT_EQ(app.panel->frame().x, 500);

    app.config.dockPinned = false;
    app.placement.pinnedModeChanged();
    EXPECT_FALSE(app.config.dockSide.has_value());
    EXPECT_TRUE(app.logged("INFO 常驻模式关闭：解除贴边固定"));

    app.panel->setFrame({20, 300, 1400, 242}); // as near to both edges: a tie docks left
    app.config.dockPinned = true;
    app.placement.pinnedModeChanged();
    EXPECT_EQ(app.config.dockSide, DockSide::left);
}

TEST_F(PanelPlacementTest, ScreenChangesClampThePanelInsideOrBringItToTheMainCornerWhenItsScreenIsGone) {
    app.screens.displays = {mainDisplay, {QRect(1440, 0, 1280, 800), QRect(1440, 0, 1280, 800)}};
    app.config.dockSide = DockSide::right;
    app.buildPanel({2000, 300, 376, 242});
    app.screens.displays = {mainDisplay};
    app.placement.screenParametersDidChange();
    EXPECT_TRUE(app.logged("INFO 屏幕参数变化：浮窗已离屏，回到右下角"));
    EXPECT_EQ(app.panel->frame(), (Rect{1048, 12, 376, 242}));
    EXPECT_FALSE(app.config.dockSide.has_value());
    EXPECT_EQ(std::tuple(app.config.originX, app.config.originY), std::tuple(1048.0, 12.0));

    app.panel->setFrameOrigin({100, 12});
    app.screens.displays = {{QRect(0, 0, 1280, 800), QRect(0, 0, 1280, 800)}}; // 100 lower at the bottom
    app.placement.screenParametersDidChange();
    EXPECT_EQ(app.panel->frame().origin(), (Point{100, 0}));
    EXPECT_EQ(app.saves, 2);
    app.placement.screenParametersDidChange();
    EXPECT_EQ(app.saves, 2) << "nothing to do when it already fits";
}

TEST_F(PanelPlacementTest, NothingIsSavedWhileExpandedTheGroupFollowsInsteadAndResizingKeepsTheRightEdge) {
    app.buildPanel({400, 300, 376, 242});
    app.expander.expanded = true;
    app.placement.panelDidMove();
    app.scheduler.advance(1);
    app.placement.persistOrigin();
    EXPECT_EQ(app.saves, 0);
    EXPECT_EQ(app.expander.follows, 1) << "the group follows the move instead";
    app.config.width = 450;
    app.placement.applySizeChange();
    EXPECT_EQ(app.panel->frame().maxX(), 776);
}

TEST_F(PanelPlacementTest, ResizeCommitAndResetReDockAPinnedPanel) {
    app.config.dockPinned = true;
    app.config.dockSide = DockSide::right;
    app.buildPanel({1064, 300, 376, 242});
    app.panel->setFrame({1000, 300, 420, 262});
    app.placement.resize(QSizeF(394.6, 236));
    EXPECT_EQ(app.saves, 0);
    app.placement.resizeCommit();
    EXPECT_TRUE(app.logged("INFO 浮窗缩放为 394x236"));
    EXPECT_EQ(app.panel->frame().maxX(), 1440);
    EXPECT_GE(app.saves, 1);

    app.config.dockPinned = false;
    app.config.dockSide = DockSide::left;
    app.placement.resetPosition();
    EXPECT_EQ(std::tuple(app.panel->frame().maxX(), app.panel->frame().y), std::tuple(1440.0 - 16, 12.0));
    EXPECT_FALSE(app.config.dockSide.has_value());
    app.config.dockPinned = true;
    app.panel->setFrameOrigin({100, 100});
    app.placement.resetPosition();
    EXPECT_EQ(app.panel->frame().maxX(), 1440);
    EXPECT_EQ(app.config.dockSide, DockSide::right);
}

TEST_F(PanelPlacementTest, ShowingAndHidingLogAndAskForFreshData) {
    app.buildPanel({100, 100, 376, 242}, false);
    app.placement.togglePanel();
    EXPECT_TRUE(app.panel->isVisible());
    EXPECT_TRUE(app.logged("INFO 浮窗已呼出"));
    EXPECT_EQ(app.store.refreshRequests, 1);
    app.placement.togglePanel();
    EXPECT_FALSE(app.panel->isVisible());
    EXPECT_TRUE(app.logged("INFO 浮窗已隐藏（缩到菜单栏）"));
}

} // namespace
} // namespace glimmer
