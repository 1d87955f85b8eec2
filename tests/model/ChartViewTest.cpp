#include "model/ChartView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glimmer {
namespace {

std::vector<int> numbers(const auto& views) {
    std::vector<int> result;
    for (const ChartView view : views) result.push_back(ChartViews::stored(view));
    return result;
}

TEST(ChartViews, DotOrderPutsVolumeBeforeTheDailyCandlesWhileTheMenuFollowsTheNumbers) {
    EXPECT_EQ(numbers(ChartViews::order), (std::vector<int>{0, 1, 2, 4, 3}));
    EXPECT_EQ(numbers(ChartViews::byNumber), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(ChartViews, StoredNumbersNameTheChartsAndNothingElse) {
    EXPECT_EQ(ChartViews::fromStored(0), ChartView::intraday);
    EXPECT_EQ(ChartViews::fromStored(3), ChartView::dailyCandles);
    EXPECT_EQ(ChartViews::fromStored(4), ChartView::volume);
    for (const long long outside : {-1LL, 5LL, 2147483648LL}) {
        EXPECT_EQ(ChartViews::fromStored(outside), std::nullopt) << outside;
    }
}

} // namespace
} // namespace glimmer
