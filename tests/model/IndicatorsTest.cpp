#include "model/Indicators.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using std::nullopt;

TEST(Indicators, MovingAverageLeavesTheWarmUpAbsent) {
    using V = std::vector<std::optional<double>>;
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, 2), (V{nullopt, 1.5, 2.5, 3.5}));
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, 4), (V{nullopt, nullopt, nullopt, 2.5}));
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, 5), V(4));
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, 0), V(4));
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, -3), V(4));
    EXPECT_TRUE(Indicators::ma({}, 5).empty());
}

TEST(Indicators, EmaIsSeededWithTheFirstValue) {
    EXPECT_EQ(Indicators::ema({10, 10, 10}, 3), (std::vector<double>{10, 10, 10}));
    const auto two = Indicators::ema({0, 3}, 2);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_DOUBLE_EQ(two[1], 2.0);
    EXPECT_TRUE(Indicators::ema({}, 3).empty());
    EXPECT_TRUE(Indicators::ema({1}, 0).empty());
}

TEST(Indicators, MacdStartsAtZeroAndIsFlatForAConstantSeries) {
    const auto flat = Indicators::macd(std::vector<double>(50, 7.25));
    ASSERT_EQ(flat.dif.size(), 50u);
    for (std::size_t i = 0; i < 50; ++i) {
        EXPECT_EQ(flat.dif[i], 0);
        EXPECT_EQ(flat.dea[i], 0);
        EXPECT_EQ(flat.hist[i], 0);
    }
    const auto empty = Indicators::macd({});
    EXPECT_TRUE(empty.dif.empty() && empty.dea.empty() && empty.hist.empty());

    const auto rising = Indicators::macd({10, 11, 12, 13});
    EXPECT_EQ(rising.dif[0], 0);
    EXPECT_GT(rising.dif[3], 0) << "the fast line leads a rise";
    EXPECT_DOUBLE_EQ(rising.hist[3], 2 * (rising.dif[3] - rising.dea[3]));
    EXPECT_TRUE(Indicators::macd({1, 2}, 12, 0, 9).dif.empty());
}

} // namespace
} // namespace glimmer
