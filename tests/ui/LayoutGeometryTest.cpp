#include "layouts/ExpandLayout.h"
#include "layouts/OverviewLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace glimmer {
namespace {

constexpr Rect laptop{0, 0, 1512, 950};
constexpr Rect smallLaptop{0, 0, 1280, 800};

std::vector<double> heights(const std::vector<Rect>& frames) {
    std::vector<double> result;
    for (const Rect& frame : frames) result.push_back(frame.height);
    return result;
}

TEST(ExpandLayoutTest,
     TheCardGoesToTheTopRightTheColumnHangsBelowAtLeast320WideScaledOnShortScreensAndRelayoutKeepsIt240Wide) {
    const ExpandLayout::Plan plan = ExpandLayout::layout(376, 242, 350, laptop);
    EXPECT_EQ(plan.main, (Rect{1120, 696, 376, 242}));
    EXPECT_EQ(plan.subs[0], (Rect{1146, 540, 350, 150})); // under the card body, 26 right of the panel
    EXPECT_EQ(heights(plan.subs), (std::vector<double>{150, 150, 130, 200}));
    const ExpandLayout::Plan small = ExpandLayout::layout(376, 242, 350, smallLaptop);
    EXPECT_EQ(heights(small.subs), (std::vector<double>{120, 120, 104, 161}));
    for (std::size_t k = 1; k < 4; ++k) EXPECT_EQ(small.subs[k - 1].minY() - small.subs[k].maxY(), 6) << k;
    // A tiny screen never shrinks them below the minimum scale.
    EXPECT_EQ(ExpandLayout::layout(376, 242, 350, {0, 0, 800, 400}).subs[3].height, std::round(0.72 * 200));
    const Rect second{1512, 120, 1920, 1050};
    const ExpandLayout::Plan narrow = ExpandLayout::layout(266, 146, 240, second);
    EXPECT_EQ(narrow.main.origin(), (Point{second.maxX() - 16 - 266, second.maxY() - 12 - 146}));
    EXPECT_EQ(std::tuple(narrow.subs[0].width, narrow.subs[0].maxX()), std::tuple(320.0, narrow.main.maxX()));

    const Rect main{900, 600, 476, 300}; // resized card, moved by the user
    const std::vector<Rect> subs = ExpandLayout::relayout(main, laptop);
    // 600 − 24 − 16 = 560 < 630: scaled
    EXPECT_EQ(subs[0],
              (Rect{main.maxX() - 450, 594 - std::round(560.0 / 630 * 150), 450, std::round(560.0 / 630 * 150)}));
    EXPECT_EQ(ExpandLayout::relayout({900, 600, 200, 120}, laptop)[0].width, 240);
    EXPECT_EQ(ExpandLayout::clampedOrigin({-80, 300}, 376, 242, laptop), (Point{0, 300}));
    EXPECT_EQ(ExpandLayout::clampedOrigin({1400, 900}, 376, 242, laptop), (Point{1136, 708}));
    EXPECT_EQ(ExpandLayout::clampedOrigin({500, -5}, 376, 242, {0, 25, 1512, 925}), (Point{500, 25}));
}

TEST(OverviewLayoutTest, TheHeaderSitsAtTheTopCentreTheListStacksBelowShortListsDoNotScrollAndSmallCardsAreWidened) {
    const OverviewLayout plan = OverviewLayout::make(13, 350, 216, laptop);
    ASSERT_EQ(plan.listFrames.size(), 12u);
    EXPECT_EQ(plan.listFrames[11], (Rect{581, 458 - 11 * 224, 350, 216})) << "8 apart, under the header";
    EXPECT_EQ(std::tuple(plan.visibleHeight, plan.contentHeight, plan.maxScroll), std::tuple(650.0, 2680.0, 2030.0));
    EXPECT_EQ(plan.scrolledListFrame(11, plan.maxScroll).minY(), 24) << "the last card rests above the bottom";
    const std::pair<double, double> scrolls[] = {{-40, 0}, {200, 200}, {99999, 2030}, {std::nan(""), 0}};
    for (const auto& [offset, clamped] : scrolls) EXPECT_EQ(plan.clampedScroll(offset), clamped) << offset;

    const OverviewLayout three = OverviewLayout::make(3, 350, 216, laptop);
    EXPECT_EQ(three.listFrames[0].maxY(), three.headerFrame.minY() - 8);
    EXPECT_EQ(std::tuple(three.contentHeight, three.clampedScroll(200)), std::tuple(440.0, 0.0));
    const OverviewLayout one = OverviewLayout::make(1, 350, 216, smallLaptop);
    EXPECT_TRUE(one.listFrames.empty());
    EXPECT_EQ(std::tuple(one.contentHeight, one.maxScroll, one.headerFrame),
              std::tuple(0.0, 0.0, Rect{439, 532, 376, 242}));
    EXPECT_EQ(OverviewLayout::make(0, 350, 216, smallLaptop).visibleHeight, 0);
    const OverviewLayout small = OverviewLayout::make(13, 100, 60, smallLaptop);
    EXPECT_EQ(std::tuple(small.headerFrame.width, small.headerFrame.height), std::tuple(240.0 + 26, 120.0 + 26));
    EXPECT_EQ(std::tuple(small.listFrames[0].x, small.listFrames[0].width),
              std::tuple(520.0, 240.0)); // round(640 − 120)
}

} // namespace
} // namespace glimmer
