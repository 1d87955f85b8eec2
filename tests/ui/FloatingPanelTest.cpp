#include "card/FloatingPanel.h"
#include "ui/FakeScreenSource.h"
#include "ui/TestApplication.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::FakeScreenSource;

class FloatingPanelTest : public ::testing::Test {
protected:
    void SetUp() override { testing::ensureApplication(); }

    // The offscreen display is where Qt puts windows; the panel's screen space follows it.
    FakeScreenSource screens{{{QRect(0, 0, 800, 600), QRect(0, 0, 800, 600)}}};
};

TEST_F(FloatingPanelTest, IsAnUndecoratedTranslucentToolWindowThatTakesNoFocus) {
    FloatingPanel panel({100, 100, 376, 242}, screens);
    const Qt::WindowFlags flags = panel.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_FALSE(panel.testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_FALSE(panel.allowsOffscreenFrame());
}

TEST_F(FloatingPanelTest, FrameRoundTripsThroughScreenSpaceBeforeAndAfterShowing) {
    FloatingPanel panel({100, 200, 376, 242}, screens);
    EXPECT_EQ(panel.geometry(), QRect(100, 600 - 442, 376, 242));
    EXPECT_EQ(panel.frame(), (Rect{100, 200, 376, 242}));
    panel.orderFront();
    ASSERT_TRUE(testing::waitForExposed(panel));
    panel.setFrame({12, 24, 402, 268});
    EXPECT_EQ(panel.frame(), (Rect{12, 24, 402, 268}));
    panel.setFrameOrigin({30, 40});
    EXPECT_EQ(panel.frame(), (Rect{30, 40, 402, 268}));
}

TEST_F(FloatingPanelTest, OnlyAnOffscreenPanelMayRiseAboveTheTopOfTheScreen) {
    FloatingPanel panel({100, 100, 376, 242}, screens);
    panel.setFrame({100, 500, 376, 242});
    EXPECT_EQ(panel.frame(), (Rect{100, 358, 376, 242})) << "top edge kept under the top of the screen";
    panel.setAllowsOffscreenFrame(true);
    panel.setFrame({100, 500, 376, 242});
    EXPECT_EQ(panel.frame(), (Rect{100, 500, 376, 242}));
    panel.setFrameOrigin({-1000, 900});
    EXPECT_EQ(panel.frame(), (Rect{-1000, 900, 376, 242}));
}

TEST_F(FloatingPanelTest, TurningAlwaysOnTopOffKeepsThePanelShownWhereItWas) {
    FloatingPanel panel({40, 60, 376, 242}, screens);
    panel.orderFront();
    ASSERT_TRUE(testing::waitForExposed(panel));
    panel.setAlwaysOnTop(false);
    EXPECT_FALSE(panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.frame(), (Rect{40, 60, 376, 242}));
    panel.setAlwaysOnTop(true);
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(panel.isVisible());
}

// Whether a plain show takes focus is the window system's business (x11 tests check it).
TEST_F(FloatingPanelTest, AKeyRequestAcceptsFocusUntilThePanelIsDeactivated) {
    FloatingPanel panel({40, 60, 376, 242}, screens);
    QWidget other(nullptr, Qt::Window);
    other.setGeometry(400, 300, 100, 100);
    panel.makeKeyAndOrderFront();
    EXPECT_FALSE(panel.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(testing::waitUntil([&] { return panel.isActiveWindow(); }));
    EXPECT_TRUE(panel.isKeyWindow());
    EXPECT_EQ(panel.frame(), (Rect{40, 60, 376, 242}));

    other.show();
    ASSERT_TRUE(testing::waitForExposed(other));
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(testing::waitUntil([&] { return other.isActiveWindow(); }));
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.frame(), (Rect{40, 60, 376, 242}));
}

TEST_F(FloatingPanelTest, AlphaContentAndMoveNotificationsReachTheWindow) {
    FloatingPanel panel({40, 60, 376, 242}, screens);
    panel.setAlphaValue(0.55);
    EXPECT_NEAR(panel.alphaValue(), 0.55, 1e-3);
    auto* content = new QWidget;
    panel.setContentView(content);
    EXPECT_EQ(panel.contentView(), content);
    int moves = 0;
    panel.onMove = [&] { ++moves; };
    panel.orderFront();
    ASSERT_TRUE(testing::waitForExposed(panel));
    EXPECT_EQ(content->geometry(), QRect(0, 0, 376, 242));
    moves = 0;
    panel.setFrameOrigin({50, 60});
    EXPECT_EQ(moves, 1);
    panel.orderOut();
    EXPECT_FALSE(panel.isVisible());
}

} // namespace
} // namespace glimmer
