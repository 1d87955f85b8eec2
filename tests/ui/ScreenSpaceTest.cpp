#include "card/DockGeometry.h"
#include "card/ScreenSpace.h"
#include "ui/FakeScreenSource.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::FakeScreenSource;

// A 1440 x 900 primary display with a 25 px top bar, and a 1920 x 1080 display to its right whose
// bottom edge lines up with the primary's and whose bar is at the bottom.
const FakeScreenSource sideBySide({
    {QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875)},
    {QRect(1440, -180, 1920, 1080), QRect(1440, -180, 1920, 1020)},
});

// The primary display is not at the virtual desktop's origin: a taller display sits to its left.
const FakeScreenSource primaryOnTheRight({
    {QRect(1920, 0, 1440, 900), QRect(1920, 0, 1440, 900)},
    {QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080)},
});

TEST(ScreenSpace, OriginIsThePrimaryDisplaysBottomLeftWithYUp) {
    const ScreenSpace space = ScreenSpace::of(sideBySide);
    EXPECT_EQ(space.fromGlobal(QRect(0, 658, 376, 242)), (Rect{0, 0, 376, 242}));
    EXPECT_EQ(space.fromGlobal(QRect(100, 50, 376, 242)), (Rect{100, 608, 376, 242}));
    EXPECT_EQ(space.toGlobal(Rect{100, 608, 376, 242}), QRect(100, 50, 376, 242));
}

TEST(ScreenSpace, ScreenListKeepsThePrimaryFirstAndConvertsVisibleFrames) {
    const std::vector<Screen> screens = currentScreens(sideBySide);
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].frame, (Rect{0, 0, 1440, 900}));
    EXPECT_EQ(screens[0].visibleFrame, (Rect{0, 0, 1440, 875}));
    EXPECT_EQ(screens[1].frame, (Rect{1440, 0, 1920, 1080}));
    EXPECT_EQ(screens[1].visibleFrame, (Rect{1440, 60, 1920, 1020}));
}

TEST(ScreenSpace, FramesRoundTripOnEitherDisplayAndOffScreen) {
    const ScreenSpace space = ScreenSpace::of(sideBySide);
    for (const QRect& global : {QRect(1048, 646, 376, 242), QRect(1460, -150, 376, 242), QRect(-500, 2000, 402, 268),
                                QRect(3300, 500, 376, 242)}) {
        EXPECT_EQ(space.toGlobal(space.fromGlobal(global)), global);
    }
    const Rect frame{1532.4, 400.6, 376, 242};
    const QRect global = space.toGlobal(frame);
    EXPECT_EQ(global, QRect(1532, 257, 376, 242));
    EXPECT_DOUBLE_EQ(space.toGlobalF(frame).bottom(), 900 - 400.6);
}

TEST(ScreenSpace, PrimaryAwayFromTheDesktopOriginStillDefinesTheOrigin) {
    const std::vector<Screen> screens = currentScreens(primaryOnTheRight);
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].frame, (Rect{0, 0, 1440, 900}));
    EXPECT_EQ(screens[1].frame, (Rect{-1920, -180, 1920, 1080}));
    const ScreenSpace space = ScreenSpace::of(primaryOnTheRight);
    EXPECT_EQ(space.toGlobal(Rect{0, 0, 376, 242}), QRect(1920, 658, 376, 242));
}

TEST(ScreenSpace, DockingOnTheSecondDisplayLandsOnItsEdgeInQtCoordinates) {
    const ScreenSpace space = ScreenSpace::of(sideBySide);
    const Rect frame = space.fromGlobal(QRect(1470, 300, 376, 242));
    const Rect visible = DockGeometry::visibleFrame(frame, currentScreens(sideBySide));
    ASSERT_EQ(DockGeometry::dockSide(frame, visible, DockGeometry::snapTolerance), DockSide::left);
    EXPECT_EQ(space.toGlobal(DockGeometry::dockedFrame(frame, DockSide::left, visible)), QRect(1440, 300, 376, 242));
    // Pushed below the second display's bottom bar, docking lifts it just above the bar.
    const Rect low = space.fromGlobal(QRect(3000, 800, 376, 242));
    EXPECT_EQ(space.toGlobal(DockGeometry::dockedFrame(low, DockSide::right, visible)),
              QRect(3360 - 376, 840 - 242, 376, 242));
}

TEST(ScreenSpace, NoDisplaysGivesAnEmptyListAndADefaultSpace) {
    const FakeScreenSource none({});
    EXPECT_TRUE(currentScreens(none).empty());
    EXPECT_EQ(ScreenSpace::of(none).fromGlobal(QRect(0, 0, 1440, 900)), (Rect{0, 0, 1440, 900}));
}

} // namespace
} // namespace glimmer
