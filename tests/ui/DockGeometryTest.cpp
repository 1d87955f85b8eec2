#include "card/DockGeometry.h"
#include "card/ScreenSpace.h"
#include "ui/FakeScreenSource.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using namespace DockGeometry;
using testing::FakeScreenSource;

constexpr Rect laptopVisible{0, 0, 1440, 900};
const auto panelAt = [](double x, double y = 100) { return Rect{x, y, 376, 242}; };

// A 1512 x 982 laptop with a 32 pt menu bar, and a 1920 x 1080 display to its right whose
// visible part loses an 80 pt bar at the top.
const std::vector<Screen> sideBySide{
    {{0, 0, 1512, 982}, {0, 0, 1512, 950}},
    {{1512, 120, 1920, 1080}, {1512, 120, 1920, 1000}},
};
const Rect second = sideBySide[1].visibleFrame;

TEST(DockGeometry, DocksToTheNearerEdgeOnTheScreenHoldingMoreOfTheFrameKeepingSizeAndAHeightBetweenTheBars) {
    constexpr auto left = DockSide::left, right = DockSide::right;
    const Rect narrow{0, 0, 800, 700};
    const std::tuple<Rect, Rect, double, std::optional<DockSide>> cases[] = {
        {panelAt(520), laptopVisible, previewTolerance, std::nullopt},
        // Release docks up to 36 points; the preview shows up to 52.
        {panelAt(36), laptopVisible, snapTolerance, left},
        {panelAt(37), laptopVisible, snapTolerance, std::nullopt},
        {panelAt(1440 - 376 - 36), laptopVisible, snapTolerance, right},
        {panelAt(1440 - 376 - 37), laptopVisible, snapTolerance, std::nullopt},
        {panelAt(52), laptopVisible, previewTolerance, left},
        {panelAt(53), laptopVisible, previewTolerance, std::nullopt},
        // Both edges near: the nearer wins, a tie docks left.
        {{30, 100, 700, 242}, narrow, snapTolerance, left},
        {{70, 100, 700, 242}, narrow, snapTolerance, right},
        {{30, 100, 740, 242}, narrow, snapTolerance, left},
        // Sticking out docks to that side; out on both, to the side it sticks out more.
        {panelAt(-120), laptopVisible, snapTolerance, left},
        {panelAt(1200), laptopVisible, snapTolerance, right},
        {{-40, 100, 900, 242}, narrow, snapTolerance, right},
        {{-70, 100, 900, 242}, narrow, snapTolerance, left},
        // Gaps count from the given screen, not from zero.
        {{1532, 400, 376, 242}, second, snapTolerance, left},
        {{1800, 400, 376, 242}, second, snapTolerance, std::nullopt},
    };
    for (const auto& [panel, visible, tolerance, side] : cases)
        EXPECT_EQ(dockSide(panel, visible, tolerance), side) << panel.x << "+" << panel.width << " on " << visible.x;

    EXPECT_EQ(dockedFrame(panelAt(20, 300), DockSide::left, laptopVisible), (Rect{0, 300, 376, 242}));
    EXPECT_EQ(dockedFrame(panelAt(1044, 300), DockSide::right, laptopVisible), (Rect{1064, 300, 376, 242}));
    EXPECT_EQ(dockedFrame(panelAt(20, -300), DockSide::left, laptopVisible), (Rect{0, 0, 376, 242}));
    EXPECT_EQ(dockedFrame(panelAt(20, 2000), DockSide::right, laptopVisible), (Rect{1064, 658, 376, 242}));
    EXPECT_EQ(dockedFrame({20, 300, 376, 1200}, DockSide::left, laptopVisible), (Rect{0, 0, 376, 1200}));
    EXPECT_EQ(dockedFrame({1532, 400, 376, 242}, DockSide::right, second), (Rect{3432 - 376, 400, 376, 242}));
    EXPECT_EQ(dockedFrame({1532, 2000, 376, 242}, DockSide::left, second), (Rect{1512, 1120 - 242, 376, 242}));
    EXPECT_EQ(dockedFrame({1532, 0, 376, 242}, DockSide::left, second), (Rect{1512, 120, 376, 242}));
    EXPECT_EQ(clampedFrame({-500, -500, 376, 242}, laptopVisible), (Rect{0, 0, 376, 242}));
    EXPECT_EQ(clampedFrame({3000, 2000, 376, 242}, laptopVisible), (Rect{1064, 658, 376, 242}));
    EXPECT_EQ(clampedFrame({300, 200, 376, 242}, laptopVisible), (Rect{300, 200, 376, 242}));
    EXPECT_EQ(clampedFrame({200, 300, 1600, 1000}, laptopVisible), (Rect{0, 0, 1600, 1000}));

    const std::vector<Screen> stacked{sideBySide[0], {{-200, 982, 1920, 1080}, {-200, 1050, 1920, 1012}}};
    const std::tuple<Rect, const std::vector<Screen>&, Rect> shares[] = {
        {{1412, 400, 376, 242}, sideBySide, second}, // 100 pt on the laptop, 276 on the other
        {{1236, 400, 376, 242}, sideBySide, sideBySide[0].visibleFrame},
        {{100, 900, 376, 242}, stacked, stacked[1].visibleFrame},
        {{100, 800, 376, 242}, stacked, stacked[0].visibleFrame},
        {{1512 - 188, 400, 376, 242}, sideBySide, sideBySide[0].visibleFrame}, // equal shares
        {{5000, 5000, 376, 242}, sideBySide, sideBySide[0].visibleFrame},
        {{3432, 400, 376, 242}, sideBySide, sideBySide[0].visibleFrame}, // touching an edge shares no area
    };
    for (const auto& [frame, screens, visible] : shares) EXPECT_EQ(visibleFrame(frame, screens), visible) << frame.x;
    EXPECT_EQ(visibleFrame({100, 100, 376, 242}, {}), (Rect{0, 0, 1440, 900}));

    EXPECT_TRUE(isOffAllScreens({100, 100, 376, 242}, {}));
    const std::vector<Screen> laptop{{{0, 0, 1440, 900}, laptopVisible}};
    EXPECT_TRUE(isOffAllScreens({-337, 100, 376, 300}, laptop));  // 39 x 300
    EXPECT_FALSE(isOffAllScreens({-336, 100, 376, 300}, laptop)); // 40 x 300
    EXPECT_TRUE(isOffAllScreens({100, -203, 376, 242}, laptop));  // 376 x 39
    EXPECT_FALSE(isOffAllScreens({100, 860, 376, 242}, laptop));  // 376 x 40
    EXPECT_TRUE(isOffAllScreens({100, 952, 376, 242}, sideBySide)) << "inside the menu bar strip only";
    EXPECT_FALSE(isOffAllScreens({3000, 900, 376, 242}, sideBySide)) << "any screen will do";
}

// A 1440 x 900 primary display with a 25 px top bar, and a 1920 x 1080 display to its right whose
// bottom edge lines up with the primary's and whose bar is at the bottom.
const FakeScreenSource qtSideBySide({
    {QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875)},
    {QRect(1440, -180, 1920, 1080), QRect(1440, -180, 1920, 1020)},
});

TEST(ScreenSpace, OriginIsThePrimaryDisplaysBottomLeftWithYUpRoundingToWholePixelsAndThePrimaryComesFirst) {
    const ScreenSpace space = ScreenSpace::of(qtSideBySide);
    EXPECT_EQ(space.fromGlobal(QRect(0, 658, 376, 242)), (Rect{0, 0, 376, 242}));
    EXPECT_EQ(space.fromGlobal(QRect(100, 50, 376, 242)), (Rect{100, 608, 376, 242}));
    const Rect frame{1532.6, 400.6, 376, 242};
    EXPECT_EQ(space.toGlobal(frame), QRect(1533, 257, 376, 242));
    EXPECT_DOUBLE_EQ(space.toGlobalF(frame).bottom(), 900 - 400.6);
    EXPECT_EQ(ScreenSpace::of(FakeScreenSource({})).fromGlobal(QRect(0, 0, 1440, 900)), (Rect{0, 0, 1440, 900}));

    std::vector<Screen> screens = currentScreens(qtSideBySide);
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(std::tuple(screens[0].visibleFrame, screens[1].frame, screens[1].visibleFrame),
              std::tuple(Rect{0, 0, 1440, 875}, Rect{1440, 0, 1920, 1080}, Rect{1440, 60, 1920, 1020}));
    // A taller display left of the primary.
    const FakeScreenSource primaryOnTheRight(
        {{QRect(1920, 0, 1440, 900), QRect(1920, 0, 1440, 900)}, {QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080)}});
    screens = currentScreens(primaryOnTheRight);
    EXPECT_EQ(std::tuple(screens[0].frame, screens[1].frame),
              std::tuple(Rect{0, 0, 1440, 900}, Rect{-1920, -180, 1920, 1080}));
    EXPECT_EQ(ScreenSpace::of(primaryOnTheRight).toGlobal(Rect{0, 0, 376, 242}), QRect(1920, 658, 376, 242));
    EXPECT_TRUE(currentScreens(FakeScreenSource({})).empty());
}

} // namespace
} // namespace glimmer
