#include "ui/AppTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace glimmer {
namespace {

const ScreenGeometry mainDisplay{QRect(0, 0, 1440, 900), QRect(0, 0, 1440, 900)};

class PanelPlacementTest : public ::testing::Test {
protected:
    /// The panel's frame, the saved side and origin, the number of saves and the lines logged since the last call.
    std::string state() {
        const Rect f = app.panel->frame();
        const char* side = !app.config.dockSide ? "-" : app.config.dockSide == DockSide::left ? "left" : "right";
        std::ostringstream out;
        out << f.x << "," << f.y << " " << f.width << "x" << f.height << " " << side << " ("
            << app.config.originX.value_or(-1) << "," << app.config.originY.value_or(-1) << ") saves=" << app.saves;
        for (const std::string& line : app.logLines) out << " | " << line;
        app.logLines.clear();
        return out.str();
    }

    testing::AppHarness app{{mainDisplay}};
};

TEST_F(PanelPlacementTest, ADragAndTheOpacitySliderAreEachSavedOnceAfterTheirLastChange) {
    app.buildPanel({400, 300, 376, 242});
    for (int step = 0; step < 40; ++step) { // 2 s of changes, one every 50 ms
        app.panel->setFrameOrigin({400.0 + step, 300});
        app.placement.panelDidMove();
        app.placement.setOpacityFromSlider(step % 2 ? 0.25 : 0.5);
        app.scheduler.advance(0.05);
    }
    app.scheduler.advance(0.44); // the slider's 0.5 s and the move's 0.6 s, counted from the last change
    EXPECT_EQ(app.saves, 0);
    app.scheduler.advance(0.02);
    EXPECT_EQ(std::tuple(app.saves, app.config.opacity), std::tuple(1, 0.25));
    app.scheduler.advance(0.08);
    EXPECT_EQ(app.saves, 1);
    app.scheduler.advance(0.02);
    EXPECT_EQ(state(), "439,300 376x242 - (439,300) saves=2");
}

TEST_F(PanelPlacementTest, ReleasingNearAnEdgeSnapsAndSavesOnceElsewhereClearsTheSideUnlessPinned) {
    app.buildPanel({20, 300, 376, 242});
    app.placement.dragEnd(DockSide::left);
    EXPECT_EQ(state(), "0,300 376x242 left (0,300) saves=1 | INFO 浮窗吸附到屏幕左侧 origin=(0,300)");
    EXPECT_FALSE(app.placement.areOriginSavesHeld());
    app.placement.snapPanel(DockSide::left, true); // already there: only logged and saved
    EXPECT_EQ(state(), "0,300 376x242 left (0,300) saves=2 | INFO 浮窗贴边位置不变：屏幕左侧 origin=(0,300)");
    app.panel->setFrameOrigin({500, 300});
    app.placement.dragEnd(std::nullopt);
    EXPECT_EQ(state(), "500,300 376x242 - (500,300) saves=3");
    app.config.dockPinned = true;
    app.config.dockSide = DockSide::right;
    app.placement.dragEnd(std::nullopt);
    EXPECT_EQ(state(), "1064,300 376x242 right (1064,300) saves=4 | INFO 常驻模式下拖离边缘，回弹到屏幕右侧 | INFO "
                       "浮窗吸附到屏幕右侧 origin=(1064,300)");
}

TEST_F(PanelPlacementTest, SwitchingPinnedModeOnDocksAPanelNearAnEdge) {
    app.buildPanel({30, 300, 376, 242});
    app.config.dockPinned = true;
    app.placement.pinnedModeChanged();
    EXPECT_EQ(state(), "0,300 376x242 left (0,300) saves=1 | INFO 常驻模式开启：当前已贴近屏幕左侧，立即固定 | INFO "
                       "浮窗吸附到屏幕左侧 origin=(0,300)");
    app.panel->setFrameOrigin({500, 300});
    app.placement.pinnedModeChanged();
    EXPECT_EQ(state(), "500,300 376x242 left (0,300) saves=1 | INFO 常驻模式开启：拖到屏幕左/右边缘松手即可固定");
    app.config.dockPinned = false;
    app.placement.pinnedModeChanged();
    EXPECT_EQ(state(), "500,300 376x242 - (0,300) saves=2 | INFO 常驻模式关闭：解除贴边固定");
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
    EXPECT_EQ(state(), "1048,12 376x242 - (1048,12) saves=1 | INFO 屏幕参数变化：浮窗已离屏，回到右下角");
    app.panel->setFrameOrigin({100, 12});
    app.screens.displays = {{QRect(0, 0, 1280, 800), QRect(0, 0, 1280, 800)}}; // 100 lower at the bottom
    app.placement.screenParametersDidChange();
    EXPECT_EQ(state(), "100,0 376x242 - (100,0) saves=2");
    app.placement.screenParametersDidChange();
    EXPECT_EQ(app.saves, 2) << "nothing to do when it already fits";
}

TEST_F(PanelPlacementTest, NothingIsSavedWhileExpandedTheGroupFollowsInsteadAndResizingKeepsTheRightEdge) {
    app.buildPanel({400, 300, 376, 242});
    app.expander.expanded = true;
    app.placement.panelDidMove();
    app.scheduler.advance(1);
    app.placement.persistOrigin();
    EXPECT_EQ(std::tuple(app.saves, app.expander.follows), std::tuple(0, 1)) << "the group follows the move instead";
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
    app.placement.resizeCommit();
    EXPECT_EQ(state(), "1020,300 420x262 right (1020,300) saves=3 | INFO 浮窗缩放为 394x236 | INFO 浮窗吸附到屏幕右侧 "
                       "origin=(1020,300)");
    app.config.dockPinned = false;
    app.config.dockSide = DockSide::left;
    app.placement.resetPosition();
    EXPECT_EQ(state(), "1003,12 421x262 - (1003,12) saves=4");
    app.config.dockPinned = true;
    app.panel->setFrameOrigin({100, 100});
    app.placement.resetPosition();
    EXPECT_EQ(state(), "1019,12 421x262 right (1019,12) saves=6 | INFO 浮窗吸附到屏幕右侧 origin=(1019,12)");
}

} // namespace
} // namespace glimmer
