#include "ChartSamples.h"
#include "card/charts/FlowGeometry.h"
#include "card/charts/MACDGeometry.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

const QSizeF chartArea{336, 149};

TEST(MACDGeometry, NeedsFourMinutesFlatPricesGiveACentWideRangeAndBarsHangFromAZeroInsideTheRange) {
    const auto day = samples::stockDay(true, 4);
    EXPECT_TRUE(layoutMACD({day.minutes.begin(), day.minutes.end() - 1}, chartArea).isEmpty);
    EXPECT_EQ(layoutMACD(day.minutes, chartArea).bars.size(), 4u);

    std::vector<MinuteBar> flat;
    for (const auto& time : samples::tradingMinutes()) flat.push_back({time, 3.856, 3.856, 1000, 385600});
    flat.resize(30);
    const auto g = layoutMACD(flat, chartArea);
    ASSERT_FALSE(g.isEmpty);
    EXPECT_NEAR(g.plot.lo, -0.0008, 1e-12);
    EXPECT_NEAR(g.plot.hi, 0.0108, 1e-12);
    for (const auto& bar : g.bars) {
        EXPECT_DOUBLE_EQ(bar.rect.height(), 0.6);
        EXPECT_DOUBLE_EQ(bar.rect.top(), g.zeroY);
        EXPECT_TRUE(bar.isUp);
    }
    EXPECT_DOUBLE_EQ(g.lastDif, 0);

    const auto signs = layoutMACD(samples::stockDay(false).minutes, chartArea);
    EXPECT_LT(signs.plot.lo, 0);
    EXPECT_GT(signs.plot.hi, 0);
    EXPECT_GT(signs.zeroY, signs.plot.rect.top());
    EXPECT_LT(signs.zeroY, signs.plot.rect.bottom());
    int up = 0;
    for (const auto& bar : signs.bars) {
        up += bar.isUp;
        if (bar.isUp)
            EXPECT_NEAR(bar.rect.bottom(), signs.zeroY, 0.6 + 1e-9);
        else
            EXPECT_DOUBLE_EQ(bar.rect.top(), signs.zeroY);
    }
    EXPECT_TRUE(up > 0 && up < int(signs.bars.size())) << "bars on both sides";
    EXPECT_DOUBLE_EQ(signs.bars[100].rect.width(), std::max(294.0 / 240 * 0.62, 0.8));
    EXPECT_DOUBLE_EQ(signs.bars[100].rect.center().x(), ChartKit::slotX(signs.plot.rect, 100));
    EXPECT_DOUBLE_EQ(signs.dif[100].x(), ChartKit::slotX(signs.plot.rect, 100));
}

TEST(FlowGeometry, RangeIncludesZeroAndSpansAtLeastOneYuanAndScissorsIsMainMinusRetailInYi) {
    const auto small = layoutFlow({{"09:30", 0.2, 0.1}, {"09:31", 0.5, 0.3}, {"09:32", 0.4, 0.0}}, chartArea);
    EXPECT_NEAR(small.plot.lo, -0.08, 1e-12);
    EXPECT_NEAR(small.plot.hi, 1.08, 1e-12);
    // The plot leaves room for the legend row and, under it, the time row.
    EXPECT_EQ(small.plot.rect, QRectF(2, 1, 336 - 46 - 2, 149 - 28 - 1));
    const auto g = layoutFlow({{"09:30", 2e8, 1e8}, {"09:31", 3e8, 1.5e8}}, chartArea);
    EXPECT_NEAR(g.plot.lo, -0.24e8, 1);
    EXPECT_NEAR(g.plot.hi, 3.24e8, 1);
    EXPECT_GT(g.zeroY, g.plot.rect.bottom() - 12);

    const auto ahead = layoutFlow({{"09:30", 1e7, -2e6}, {"10:15", 3.2e8, -1.1e8}}, chartArea);
    EXPECT_DOUBLE_EQ(ahead.scissors, 4.3e8);
    EXPECT_EQ(scissorsText(ahead.scissors), QStringLiteral("剪刀差 4.30亿"));
    EXPECT_EQ(ahead.last.time, "10:15");
    EXPECT_EQ(scissorsText(layoutFlow({{"10:15", -1.1e8, 3.2e8}}, chartArea).scissors),
              QStringLiteral("剪刀差 -4.30亿"));
}

} // namespace
} // namespace glimmer
