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

TEST(ScreenSpace, OriginIsThePrimaryDisplaysBottomLeftWithYUpAndFramesRoundTrip) {
    const ScreenSpace space = ScreenSpace::of(sideBySide);
    EXPECT_EQ(space.fromGlobal(QRect(0, 658, 376, 242)), (Rect{0, 0, 376, 242}));
    EXPECT_EQ(space.fromGlobal(QRect(100, 50, 376, 242)), (Rect{100, 608, 376, 242}));
    for (const QRect& global : {QRect(1460, -150, 376, 242), QRect(-500, 2000, 402, 268)})
        EXPECT_EQ(space.toGlobal(space.fromGlobal(global)), global);
    const Rect frame{1532.6, 400.6, 376, 242};
    EXPECT_EQ(space.toGlobal(frame), QRect(1533, 257, 376, 242));
    EXPECT_DOUBLE_EQ(space.toGlobalF(frame).bottom(), 900 - 400.6);
    EXPECT_EQ(ScreenSpace::of(FakeScreenSource({})).fromGlobal(QRect(0, 0, 1440, 900)), (Rect{0, 0, 1440, 900}));
}

TEST(ScreenSpace, ScreenListKeepsThePrimaryFirstAndConvertsVisibleFramesWhereverThePrimaryIs) {
    std::vector<Screen> screens = currentScreens(sideBySide);
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].visibleFrame, (Rect{0, 0, 1440, 875}));
    EXPECT_EQ(screens[1].frame, (Rect{1440, 0, 1920, 1080}));
    EXPECT_EQ(screens[1].visibleFrame, (Rect{1440, 60, 1920, 1020}));
    // A taller display left of the primary.
    const FakeScreenSource primaryOnTheRight(
        {{QRect(1920, 0, 1440, 900), QRect(1920, 0, 1440, 900)}, {QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080)}});
    screens = currentScreens(primaryOnTheRight);
    EXPECT_EQ(screens[0].frame, (Rect{0, 0, 1440, 900}));
    EXPECT_EQ(screens[1].frame, (Rect{-1920, -180, 1920, 1080}));
    EXPECT_EQ(ScreenSpace::of(primaryOnTheRight).toGlobal(Rect{0, 0, 376, 242}), QRect(1920, 658, 376, 242));
    EXPECT_TRUE(currentScreens(FakeScreenSource({})).empty());
}

} // namespace
} // namespace glimmer
