#include "model/Indicators.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using std::nullopt;

TEST(Indicators, MovingAveragesLeaveTheWarmUpAbsentEmaStartsAtTheFirstValueMacdAtZero) {
    using V = std::vector<std::optional<double>>;
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, 2), (V{nullopt, 1.5, 2.5, 3.5}));
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, 4), (V{nullopt, nullopt, nullopt, 2.5}));
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, 5), V(4));
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, 0), V(4));
    EXPECT_EQ(Indicators::ma({1, 2, 3, 4}, -3), V(4));
    EXPECT_TRUE(Indicators::ma({}, 5).empty());
    EXPECT_EQ(Indicators::ema({10, 10, 10}, 3), (std::vector<double>{10, 10, 10}));
    EXPECT_EQ(Indicators::ema({0, 3}, 2), (std::vector<double>{0, 2}));
    EXPECT_TRUE(Indicators::ema({}, 3).empty());
    EXPECT_TRUE(Indicators::ema({1}, 0).empty());
    const auto flat = Indicators::macd(std::vector<double>(50, 7.25));
    const std::vector<double> zeros(50, 0.0);
    EXPECT_EQ(std::tie(flat.dif, flat.dea, flat.hist), std::tie(zeros, zeros, zeros));
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
