#include "card/DockGeometry.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using DockGeometry::clampedFrame;
using DockGeometry::dockedFrame;
using DockGeometry::dockSide;
using DockGeometry::isOffAllScreens;
using DockGeometry::previewTolerance;
using DockGeometry::snapTolerance;
using DockGeometry::visibleFrame;

constexpr Rect laptopVisible{0, 0, 1440, 900};

Rect panelAt(double x, double y = 100) {
    return {x, y, 376, 242};
}

// A 1512 x 982 laptop with a 32 pt menu bar, and a 1920 x 1080 display to its right whose
// visible part loses an 80 pt bar at the top.
const std::vector<Screen> sideBySide{
    {{0, 0, 1512, 982}, {0, 0, 1512, 950}},
    {{1512, 120, 1920, 1080}, {1512, 120, 1920, 1000}},
};

TEST(DockSide, NearerEdgeWithinTheToleranceOfTheGivenScreen) {
    constexpr auto left = DockSide::left, right = DockSide::right;
    const Rect narrow{0, 0, 800, 700};
    const Rect second = sideBySide[1].visibleFrame;
    const struct {
        Rect panel, visible;
        double tolerance;
        std::optional<DockSide> side;
    } cases[] = {
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
    for (const auto& c : cases) {
        EXPECT_EQ(dockSide(c.panel, c.visible, c.tolerance), c.side)
            << c.panel.x << "+" << c.panel.width << " on " << c.visible.x << "+" << c.visible.width;
    }
}

TEST(DockedFrame, SitsOnTheEdgeOfItsScreenKeepingSizeAndAHeightBetweenTheBars) {
    EXPECT_EQ(dockedFrame(panelAt(20, 300), DockSide::left, laptopVisible), (Rect{0, 300, 376, 242}));
    EXPECT_EQ(dockedFrame(panelAt(1044, 300), DockSide::right, laptopVisible), (Rect{1064, 300, 376, 242}));
    EXPECT_DOUBLE_EQ(dockedFrame(panelAt(20, -300), DockSide::left, laptopVisible).minY(), 0);
    EXPECT_DOUBLE_EQ(dockedFrame(panelAt(20, 2000), DockSide::right, laptopVisible).maxY(), 900);
    // Taller than the visible area: its bottom edge goes to the bottom.
    EXPECT_DOUBLE_EQ(dockedFrame({20, 300, 376, 1200}, DockSide::left, laptopVisible).minY(), 0);
    const Rect second = sideBySide[1].visibleFrame;
    EXPECT_EQ(dockedFrame({1532, 400, 376, 242}, DockSide::right, second), (Rect{3432 - 376, 400, 376, 242}));
    EXPECT_DOUBLE_EQ(dockedFrame({1532, 2000, 376, 242}, DockSide::left, second).maxY(), 1120);
    EXPECT_DOUBLE_EQ(dockedFrame({1532, 0, 376, 242}, DockSide::left, second).minY(), 120);
}

TEST(ClampedFrame, MovesTheFrameInsideKeepingItsSizeAndALargerOneAlignsLeftAndBottom) {
    EXPECT_EQ(clampedFrame({-500, -500, 376, 242}, laptopVisible), (Rect{0, 0, 376, 242}));
    EXPECT_EQ(clampedFrame({3000, 2000, 376, 242}, laptopVisible), (Rect{1064, 658, 376, 242}));
    EXPECT_EQ(clampedFrame({300, 200, 376, 242}, laptopVisible), (Rect{300, 200, 376, 242}));
    EXPECT_EQ(clampedFrame({200, 300, 1600, 1000}, laptopVisible), (Rect{0, 0, 1600, 1000}));
}

TEST(VisibleFrame, TheScreenHoldingMoreOfTheFrameWinsTiesAndStraysGoToTheFirst) {
    const std::vector<Screen> stacked{sideBySide[0], {{-200, 982, 1920, 1080}, {-200, 1050, 1920, 1012}}};
    const struct {
        Rect frame;
        const std::vector<Screen>& screens;
        Rect visible;
    } cases[] = {
        {{1412, 400, 376, 242}, sideBySide, sideBySide[1].visibleFrame}, // 100 pt on the laptop, 276 on the other
        {{1236, 400, 376, 242}, sideBySide, sideBySide[0].visibleFrame},
        {{100, 900, 376, 242}, stacked, stacked[1].visibleFrame},
        {{100, 800, 376, 242}, stacked, stacked[0].visibleFrame},
        {{1512 - 188, 400, 376, 242}, sideBySide, sideBySide[0].visibleFrame}, // equal shares
        {{5000, 5000, 376, 242}, sideBySide, sideBySide[0].visibleFrame},
        {{3432, 400, 376, 242}, sideBySide, sideBySide[0].visibleFrame}, // touching an edge shares no area
    };
    for (const auto& c : cases) EXPECT_EQ(visibleFrame(c.frame, c.screens), c.visible) << c.frame.x << "," << c.frame.y;
    EXPECT_EQ(visibleFrame({100, 100, 376, 242}, {}), (Rect{0, 0, 1440, 900}));
}

TEST(IsOffAllScreens, NeedsAtLeast40By40PointsOfAnyScreensVisibleFrame) {
    EXPECT_TRUE(isOffAllScreens({100, 100, 376, 242}, {}));
    const std::vector<Screen> laptop{{{0, 0, 1440, 900}, laptopVisible}};
    EXPECT_TRUE(isOffAllScreens({-337, 100, 376, 300}, laptop));  // 39 x 300
    EXPECT_FALSE(isOffAllScreens({-336, 100, 376, 300}, laptop)); // 40 x 300
    EXPECT_TRUE(isOffAllScreens({100, -203, 376, 242}, laptop));  // 376 x 39
    EXPECT_FALSE(isOffAllScreens({100, 860, 376, 242}, laptop));  // 376 x 40
    EXPECT_TRUE(isOffAllScreens({100, 952, 376, 242}, sideBySide)) << "inside the menu bar strip only";
    EXPECT_FALSE(isOffAllScreens({3000, 900, 376, 242}, sideBySide)) << "any screen will do";
}

} // namespace
} // namespace glimmer
