#include "ChartSamples.h"
#include "card/charts/KLineGeometry.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

const QSizeF chartArea{336, 149};

// Each character 5 points wide: predictable legend widths without a font.
double fixedWidth(const QString& text) {
    return text.size() * 5.0;
}

TEST(KLineGeometry, FourBarsOrFewerShowTheLoadingTextFiveFillThePlotAndTheWidthFitsFortyToOneHundredThirty) {
    EXPECT_TRUE(layoutKLine(samples::dailyBars(4), defaultMovingAveragePeriods(), chartArea).isEmpty);
    const auto bars = samples::dailyBars(300);
    for (const auto& [width, visible] : {std::pair(306, 71u), {106, 40u}, {1006, 130u}})
        EXPECT_EQ(layoutKLine(bars, {}, QSizeF(width, 149)).visibleCount, visible) << width;
    // Five bars fill the plot and only the five-day average has a legend.
    const auto g = layoutKLine(samples::dailyBars(5), defaultMovingAveragePeriods(), chartArea);
    ASSERT_EQ(g.candles.size(), 5u);
    EXPECT_DOUBLE_EQ(g.step, 330.0 / 5);
    EXPECT_DOUBLE_EQ(g.candles[0].x, 3 + 33);
    ASSERT_EQ(g.averages.size(), 7u);
    EXPECT_TRUE(g.averages[0].latest.has_value());
    EXPECT_FALSE(g.averages[1].latest.has_value());
    EXPECT_EQ(std::count_if(g.averages[0].points.begin(), g.averages[0].points.end(), [](auto& p) { return p; }), 1);
    const auto legend = layoutKLineLegend(g, chartArea, fixedWidth);
    ASSERT_EQ(legend.size(), 1u);
    EXPECT_TRUE(legend[0].text.startsWith("M5 "));
}

TEST(KLineGeometry, AveragesUseTheWholeHistoryAlignWithTheVisibleBarsAndWidenTheRange) {
    const auto bars = samples::dailyBars(400);
    const auto g = layoutKLine(bars, {5, 250}, chartArea);
    ASSERT_EQ(g.visibleCount, 78u); // 330 / 4.2
    double sum = 0;
    for (std::size_t i = bars.size() - 250; i < bars.size(); ++i) sum += bars[i].close;
    ASSERT_TRUE(g.averages[1].latest.has_value());
    EXPECT_NEAR(*g.averages[1].latest, sum / 250, 1e-9);
    // Every visible bar already has 250 closes behind it, so the long average has no gaps.
    for (const auto& point : g.averages[1].points) EXPECT_TRUE(point.has_value());
    EXPECT_DOUBLE_EQ(g.averages[0].points.back()->x(), g.candles.back().x);

    // A halving 40 days ago: the 60-day average stays far above every visible candle.
    auto halved = samples::dailyBars(100);
    for (std::size_t i = 0; i < halved.size(); ++i) {
        const double price = (i < 60 ? 20 : 10) + double(i % 3) * 0.01;
        halved[i] = {halved[i].date, price, price + 0.01, price + 0.05, price - 0.05, 1000};
    }
    const auto narrow = layoutKLine(halved, {60}, QSizeF(100, 149));
    ASSERT_EQ(narrow.visibleCount, 40u);
    EXPECT_GT(narrow.plot.hi, 10.02 + 0.05 + 1) << "above the highest visible high";
}

TEST(KLineGeometry, RisingBodiesAndDojisAreHollowFallingOnesFilled) {
    auto bars = samples::dailyBars(10, 100);
    bars[7] = {"2026-12-02", 100, 100, 104, 99, 1000};
    bars[8] = {"2026-12-03", 100, 103, 104, 99, 1000};
    bars[9] = {"2026-12-04", 103, 101, 104, 100, 1000};
    const auto g = layoutKLine(bars, {}, chartArea);
    const std::tuple<int, int, bool> cases[] = {{7, 0, true}, {8, 1, true}, {9, -1, false}};
    for (const auto& [i, direction, hollow] : cases) {
        EXPECT_EQ(g.candles[i].direction, direction) << i;
        EXPECT_EQ(g.candles[i].isHollow, hollow) << i;
    }
    EXPECT_DOUBLE_EQ(g.candles[7].body.height(), 1.0); // a doji is one point high
    EXPECT_DOUBLE_EQ(g.candles[7].body.top(), g.plot.y(100));
    EXPECT_DOUBLE_EQ(g.candles[9].body.top(), g.plot.y(103));
    EXPECT_DOUBLE_EQ(g.candles[9].body.bottom(), g.plot.y(101));
}

TEST(KLineLegend, WrapsOnceDropsWhatDoesNotFitInTwoRowsAndUsesPriceDecimals) {
    const QSizeF narrow(120, 149);
    const auto g = layoutKLine(samples::dailyBars(300), defaultMovingAveragePeriods(), narrow);
    // Each entry "M5 1234.56" is about 50 points: two fit in a row of 120 points.
    const auto legend = layoutKLineLegend(g, narrow, fixedWidth);
    ASSERT_EQ(legend.size(), 4u);
    EXPECT_EQ((std::vector{legend[0].at, legend[1].at, legend[2].at}),
              (std::vector{QPointF(3, 132), QPointF(3 + fixedWidth(legend[0].text) + 4, 132), QPointF(3, 140)}));
    EXPECT_TRUE(legend[3].text.startsWith("M30 "));
    EXPECT_EQ(legend[3].colorIndex, 3u);

    auto etf = samples::dailyBars(10, 3.8);
    for (auto& bar : etf) bar.close = 3.856;
    const auto prices = layoutKLineLegend(layoutKLine(etf, {5}, chartArea), chartArea, fixedWidth);
    ASSERT_EQ(prices.size(), 1u);
    EXPECT_EQ(prices[0].text, QStringLiteral("M5 3.856"));
}

} // namespace
} // namespace glimmer
