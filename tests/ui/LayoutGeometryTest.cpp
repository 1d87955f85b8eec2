#include "layouts/ExpandLayout.h"
#include "layouts/OverviewLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace glimmer {
namespace {

constexpr Rect laptop{0, 0, 1512, 950};
constexpr Rect smallLaptop{0, 0, 1280, 800};
// A default card: 350 x 216 body in a 376 x 242 panel.
constexpr double cardWidth = 350;
constexpr double panelWidth = 376;
constexpr double panelHeight = 242;

TEST(ExpandLayoutTest, MainCardSitsInTheTopRightCornerAndTheColumnHangsBelowItRightAligned) {
    const ExpandLayout::Plan plan = ExpandLayout::layout(panelWidth, panelHeight, cardWidth, laptop);
    EXPECT_EQ(plan.main, (Rect{1120, 696, 376, 242}));
    ASSERT_EQ(plan.subs.size(), 4u);
    const double tops[] = {690, 534, 378, 242};
    const double heights[] = {150, 150, 130, 200};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(plan.subs[k].x, 1146) << k; // the card body's left edge, 26 right of the panel's
        EXPECT_EQ(plan.subs[k].width, 350) << k;
        EXPECT_EQ(plan.subs[k].maxY(), tops[k]) << k;
        EXPECT_EQ(plan.subs[k].height, heights[k]) << k;
        EXPECT_EQ(plan.subs[k].maxX(), plan.main.maxX()) << k;
    }
}

TEST(ExpandLayoutTest, ShortScreenScalesTheColumnToTheSpaceLeftWithRoundedHeights) {
    const ExpandLayout::Plan plan = ExpandLayout::layout(panelWidth, panelHeight, cardWidth, smallLaptop);
    ASSERT_EQ(plan.subs.size(), 4u);
    EXPECT_EQ(plan.subs[0].height, 120);
    EXPECT_EQ(plan.subs[1].height, 120);
    EXPECT_EQ(plan.subs[2].height, 104);
    EXPECT_EQ(plan.subs[3].height, 161);
    // Still 6 apart, the last one ends at or above the bottom inset.
    for (std::size_t k = 1; k < 4; ++k) EXPECT_EQ(plan.subs[k - 1].minY() - plan.subs[k].maxY(), 6) << k;
    EXPECT_GE(plan.subs[3].minY(), 16 - 1);
}

TEST(ExpandLayoutTest, TinyScreenNeverShrinksBelowTheMinimumScale) {
    const ExpandLayout::Plan plan = ExpandLayout::layout(panelWidth, panelHeight, cardWidth, {0, 0, 800, 400});
    EXPECT_EQ(plan.subs[0].height, std::round(0.72 * 150));
    EXPECT_EQ(plan.subs[3].height, std::round(0.72 * 200));
    EXPECT_DOUBLE_EQ(ExpandLayout::scaleFor(-50), 0.72);
    EXPECT_DOUBLE_EQ(ExpandLayout::scaleFor(1000), 1.0);
}

TEST(ExpandLayoutTest, NarrowCardsGetSubPanelsAtLeast320WideAndTheLayoutFollowsAScreenOffTheOrigin) {
    const Rect second{1512, 120, 1920, 1050};
    const ExpandLayout::Plan plan = ExpandLayout::layout(266, 146, 240, second);
    EXPECT_EQ(plan.main.origin(), (Point{second.maxX() - 16 - 266, second.maxY() - 12 - 146}));
    EXPECT_EQ(plan.subs[0].width, 320);
    EXPECT_EQ(plan.subs[0].maxX(), plan.main.maxX());
}

TEST(ExpandLayoutTest, RelayoutKeepsTheMainPanelAndRebuildsTheColumnUnderItAtLeast240Wide) {
    const Rect main{900, 600, 476, 300}; // resized card, moved by the user
    const std::vector<Rect> subs = ExpandLayout::relayout(main, laptop);
    ASSERT_EQ(subs.size(), 4u);
    EXPECT_EQ(subs[0].width, 450);
    EXPECT_EQ(subs[0].maxX(), main.maxX());
    EXPECT_EQ(subs[0].maxY(), 594);
    // 600 − 24 − 16 = 560 < 630: scaled.
    EXPECT_EQ(subs[0].height, std::round(560.0 / 630 * 150));
    EXPECT_EQ(ExpandLayout::relayout({900, 600, 200, 120}, laptop)[0].width, 240);
}

TEST(ExpandLayoutTest, ClampedOriginKeepsTheFrameInsideTheVisibleFrame) {
    EXPECT_EQ(ExpandLayout::clampedOrigin({-80, 300}, 376, 242, laptop), (Point{0, 300}));
    EXPECT_EQ(ExpandLayout::clampedOrigin({1400, 900}, 376, 242, laptop), (Point{1136, 708}));
    EXPECT_EQ(ExpandLayout::clampedOrigin({500, -5}, 376, 242, {0, 25, 1512, 925}), (Point{500, 25}));
    EXPECT_EQ(ExpandLayout::clampedOrigin({700, 400}, 376, 242, laptop), (Point{700, 400}));
}

TEST(OverviewLayoutTest, ThirteenSecuritiesPinTheHeaderAtTheTopCentreAndStackTheListBelow) {
    const OverviewLayout plan = OverviewLayout::make(13, 350, 216, laptop);
    EXPECT_EQ(plan.headerFrame, (Rect{555, 682, 376, 242}));
    EXPECT_EQ(plan.headerFrame.minX() + 26, 581); // the card body
    ASSERT_EQ(plan.listFrames.size(), 12u);
    EXPECT_EQ(plan.listFrames[0], (Rect{581, 458, 350, 216}));
    EXPECT_EQ(plan.listFrames[1], (Rect{581, 234, 350, 216}));
    for (std::size_t i = 1; i < plan.listFrames.size(); ++i) {
        EXPECT_EQ(plan.listFrames[i - 1].minY() - plan.listFrames[i].maxY(), 8) << i;
        EXPECT_EQ(plan.listFrames[i].x, 581) << i;
    }
    EXPECT_EQ(plan.visibleHeight, 650);
    EXPECT_EQ(plan.contentHeight, 2680);
    EXPECT_EQ(plan.maxScroll, 2030);
    // Scrolled to the end, the last card's bottom sits 24 above the screen's bottom.
    EXPECT_EQ(plan.scrolledListFrame(11, plan.maxScroll).minY(), 24);
}

TEST(OverviewLayoutTest, ThreeSecuritiesFitWithoutScrollingAndStartRightBelowTheHeader) {
    const OverviewLayout plan = OverviewLayout::make(3, 350, 216, laptop);
    ASSERT_EQ(plan.listFrames.size(), 2u);
    EXPECT_EQ(plan.listFrames[0].maxY(), plan.headerFrame.minY() - 8);
    EXPECT_EQ(plan.contentHeight, 440);
    EXPECT_EQ(plan.maxScroll, 0);
    EXPECT_EQ(plan.clampedScroll(200), 0);
}

TEST(OverviewLayoutTest, OneSecurityHasOnlyTheHeaderAndNoneHasNoList) {
    const OverviewLayout one = OverviewLayout::make(1, 350, 216, smallLaptop);
    EXPECT_TRUE(one.listFrames.empty());
    EXPECT_EQ(one.contentHeight, 0);
    EXPECT_EQ(one.maxScroll, 0);
    EXPECT_EQ(one.headerFrame, (Rect{439, 532, 376, 242}));
    const OverviewLayout none = OverviewLayout::make(0, 350, 216, smallLaptop);
    EXPECT_TRUE(none.listFrames.empty());
    EXPECT_EQ(none.visibleHeight, 0);
}

TEST(OverviewLayoutTest, SmallCardsAreWidenedToTheMinimumAndTheSmallScreenScrollsFurther) {
    const OverviewLayout plan = OverviewLayout::make(13, 100, 60, smallLaptop);
    EXPECT_EQ(plan.headerFrame.width, 240 + 26);
    EXPECT_EQ(plan.headerFrame.height, 120 + 26);
    EXPECT_EQ(plan.listFrames[0].width, 240);
    EXPECT_EQ(plan.listFrames[0].x, 520); // round(640 − 120)
    const OverviewLayout big = OverviewLayout::make(13, 350, 216, smallLaptop);
    EXPECT_EQ(big.visibleHeight, 800 - 26 - 242 - 8 - 24);
    EXPECT_EQ(big.maxScroll, 2680 - big.visibleHeight);
}

TEST(OverviewLayoutTest, ScrollOffsetsAreClampedToTheListAndBrokenValuesGoBackToTheTop) {
    const OverviewLayout plan = OverviewLayout::make(13, 350, 216, laptop);
    EXPECT_EQ(plan.clampedScroll(-40), 0);
    EXPECT_EQ(plan.clampedScroll(200), 200);
    EXPECT_EQ(plan.clampedScroll(99999), 2030);
    EXPECT_EQ(plan.clampedScroll(std::nan("")), 0);
}

} // namespace
} // namespace glimmer
