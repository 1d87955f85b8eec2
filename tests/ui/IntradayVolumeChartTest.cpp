#include "ChartSamples.h"
#include "ChartTestSupport.h"
#include "card/charts/FlowGeometry.h"
#include "card/charts/IntradayGeometry.h"
#include "card/charts/KLineGeometry.h"
#include "card/charts/MACDGeometry.h"
#include "card/charts/VolumeGeometry.h"
#include "card/charts/VolumeView.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::chartArea;

std::vector<MinuteBar> minutesOf(const std::vector<double>& volumes, double price = 10) {
    std::vector<MinuteBar> minutes;
    for (double v : volumes) minutes.push_back({samples::tradingMinutes()[minutes.size()], price, price, v, 0});
    return minutes;
}

TEST(IntradayGeometry, NeedsAQuoteAndMinutesLeavesRoomForTheLabelsAndCoversPricesAveragesAndPreviousCloseWithPadding) {
    const auto day = samples::stockDay(true);
    EXPECT_TRUE(layoutIntraday(std::nullopt, day.minutes, chartArea).isEmpty);
    EXPECT_TRUE(layoutIntraday(day.quote, {}, chartArea).isEmpty);
    const auto g = layoutIntraday(day.quote, day.minutes, chartArea);
    EXPECT_EQ(g.plot.rect, QRectF(2, 1, 336 - 40 - 2, 149 - 13 - 1));
    EXPECT_DOUBLE_EQ(g.price.back().x(), g.plot.rect.right());
    EXPECT_DOUBLE_EQ(layoutIntraday(day.quote, day.minutes, QSizeF(60, 8)).plot.rect.height(), 1);

    auto morning = samples::stockDay(true, 60);
    morning.quote.prevClose = 1600; // far below the day: the range must still include it
    const auto range = layoutIntraday(morning.quote, morning.minutes, chartArea);
    double hi = 1600;
    for (const auto& minute : morning.minutes) hi = std::max({hi, minute.price, minute.avg});
    const double pad = (hi - 1600) * 0.04;
    EXPECT_NEAR(range.plot.lo, 1600 - pad, 1e-9);
    EXPECT_NEAR(range.plot.hi, hi + pad, 1e-9);
    EXPECT_GT(range.baselineY, range.plot.rect.bottom() - 6);

    const auto one = minutesOf({1200});
    Quote quote{.price = 10, .prevClose = 10};
    const auto flat = layoutIntraday(quote, one, chartArea);
    EXPECT_NEAR(flat.plot.hi - flat.plot.lo, 0.01 * 1.08, 1e-12);
    EXPECT_NEAR(flat.plot.lo, 10.0 - 0.0004, 1e-12);
    ASSERT_EQ(flat.price.size(), 1u);
    EXPECT_DOUBLE_EQ(flat.price[0].x(), 2);
    EXPECT_EQ(flat.direction, 0);
    for (const double change : {0.01, -0.01}) {
        quote.price = 10 + change;
        EXPECT_EQ(layoutIntraday(quote, one, chartArea).direction, change > 0 ? 1 : -1);
    }
}

TEST(VolumeGeometry, TheSpikeIsCutCorruptVolumesDrawHalfPointBarsColoursFollowThePreviousMinuteMeansTakeFive) {
    const auto day = samples::stockDay(true);
    const auto g = layoutVolume(day.quote, day.minutes, chartArea);
    ASSERT_EQ(g.bars.size(), 241u);
    EXPECT_EQ(g.plot, QRectF(2, 15, 294, 149 - 13 - 1 - 14));
    EXPECT_DOUBLE_EQ(g.maxVolume, 5200); // the label shows the true maximum, not the cap
    EXPECT_LT(g.cap, 1000);
    EXPECT_DOUBLE_EQ(g.bars[0].rect.top(), g.plot.top());
    EXPECT_DOUBLE_EQ(g.bars[0].rect.bottom(), g.plot.bottom());
    EXPECT_DOUBLE_EQ(g.bars[10].rect.left(), 2 + 294.0 / 240 * 10);
    EXPECT_DOUBLE_EQ(g.bars[10].rect.width(), 1.2);
    EXPECT_DOUBLE_EQ(layoutVolume(day.quote, day.minutes, QSizeF(760, 149)).bars[3].rect.width(), 718.0 / 240 - 1.2);

    std::vector<MinuteBar> minutes;
    for (int i = 1; i <= 100; ++i) minutes.push_back({"10:00", 10, 10, double(i), 0});
    // n = 100: k = min(99, 95) -> sorted[95] = 96.
    EXPECT_DOUBLE_EQ(volumeCap(minutes), 96 * 1.08);
    EXPECT_DOUBLE_EQ(volumeCap(minutesOf({1})), 1.08);
    EXPECT_EQ((QStringList{VolumeView::format(123456789), VolumeView::format(12345), VolumeView::format(10000),
                           VolumeView::format(999)}),
              (QStringList{"1.23亿手", "1.2万手", "1.0万手", "999手"}));

    auto corrupt = minutesOf({std::nan(""), 0, INFINITY});
    auto bad = layoutVolume(std::nullopt, corrupt, chartArea);
    EXPECT_DOUBLE_EQ(bad.cap, 1);
    for (const auto& bar : bad.bars) {
        EXPECT_DOUBLE_EQ(bar.rect.height(), 0.5);
        EXPECT_DOUBLE_EQ(bar.rect.bottom(), bad.plot.bottom());
    }
    EXPECT_DOUBLE_EQ(bad.average.back().y(), bad.plot.bottom());
    corrupt[1].volume = 300;
    bad = layoutVolume(std::nullopt, corrupt, chartArea);
    EXPECT_DOUBLE_EQ(bad.maxVolume, 300);
    EXPECT_DOUBLE_EQ(bad.totalVolume, 300);

    // Below the open, unchanged (counts as up), up, down.
    const std::vector<MinuteBar> prices{{"09:30", 9.98, 9.98, 500, 0},
                                        {"09:31", 9.98, 9.98, 300, 0},
                                        {"09:32", 10.02, 10, 300, 0},
                                        {"09:33", 10.01, 10, 200, 0}};
    const auto colours = layoutVolume(Quote{.open = 10}, prices, chartArea);
    std::vector<bool> up;
    for (const auto& bar : colours.bars) up.push_back(bar.isUp);
    EXPECT_EQ(up, (std::vector<bool>{false, true, true, false}));
    EXPECT_TRUE(layoutVolume(std::nullopt, prices, chartArea).bars[0].isUp);

    const auto fives = layoutVolume(std::nullopt, minutesOf({100, 200, 300, 400, 500, 600, 700}), chartArea);
    EXPECT_DOUBLE_EQ(fives.totalVolume, 2800);
    EXPECT_DOUBLE_EQ(fives.lastMean, (300 + 400 + 500 + 600 + 700) / 5.0);
    const auto yOf = [&](double v) {
        return fives.plot.top() + (fives.cap - std::min(fives.cap, v)) / fives.cap * fives.plot.height();
    };
    EXPECT_DOUBLE_EQ(fives.average[1].y(), yOf(150));
    EXPECT_DOUBLE_EQ(fives.average[6].y(), yOf(500));
}

TEST(MACDGeometry, NeedsFourMinutesFlatPricesGiveACentWideRangeAndBarsHangFromAZeroInsideTheRange) {
    const auto day = samples::stockDay(true, 4);
    EXPECT_TRUE(layoutMACD({day.minutes.begin(), day.minutes.end() - 1}, chartArea).isEmpty);
    EXPECT_EQ(layoutMACD(day.minutes, chartArea).bars.size(), 4u);

    const auto g = layoutMACD(minutesOf(std::vector<double>(30, 1000), 3.856), chartArea);
    EXPECT_NEAR(g.plot.lo, -0.0008, 1e-12);
    EXPECT_NEAR(g.plot.hi, 0.0108, 1e-12);
    for (const auto& bar : g.bars) {
        EXPECT_DOUBLE_EQ(bar.rect.height(), 0.6);
        EXPECT_DOUBLE_EQ(bar.rect.top(), g.zeroY);
        EXPECT_TRUE(bar.isUp);
    }

    const auto signs = layoutMACD(samples::stockDay(false).minutes, chartArea);
    for (const auto& bar : signs.bars)
        EXPECT_NEAR(bar.isUp ? bar.rect.bottom() : bar.rect.top(), signs.zeroY, bar.isUp ? 0.6 + 1e-9 : 0);
    EXPECT_DOUBLE_EQ(signs.bars[100].rect.width(), std::max(294.0 / 240 * 0.62, 0.8));
    EXPECT_DOUBLE_EQ(signs.bars[100].rect.center().x(), ChartKit::slotX(signs.plot.rect, 100));
}

TEST(FlowGeometry, RangeIncludesZeroNearTheBottomAndSpansAtLeastOneYuan) {
    const auto small = layoutFlow({{"09:30", 0.2, 0.1}, {"09:31", 0.5, 0.3}, {"09:32", 0.4, 0.0}}, chartArea);
    EXPECT_NEAR(small.plot.lo, -0.08, 1e-12);
    EXPECT_NEAR(small.plot.hi, 1.08, 1e-12);
    EXPECT_EQ(small.plot.rect, QRectF(2, 1, 336 - 46 - 2, 149 - 28 - 1));
    EXPECT_GT(small.zeroY, small.plot.rect.bottom() - 12);
}

// Each character 5 points wide: predictable legend widths without a font.
const auto fixedWidth = [](const QString& text) { return text.size() * 5.0; };

TEST(KLineGeometry, FourBarsOrFewerShowTheLoadingTextFiveFillThePlotRisingBodiesAndDojisAreHollowFallingOnesFilled) {
    EXPECT_TRUE(layoutKLine(samples::dailyBars(4), defaultMovingAveragePeriods(), chartArea).isEmpty);
    const auto history = samples::dailyBars(300);
    for (const auto& [width, visible] : {std::pair(306, 71u), {106, 40u}, {1006, 130u}})
        EXPECT_EQ(layoutKLine(history, {}, QSizeF(width, 149)).visibleCount, visible) << width;
    const auto five = layoutKLine(samples::dailyBars(5), {}, chartArea);
    ASSERT_EQ(five.candles.size(), 5u);
    EXPECT_DOUBLE_EQ(five.step, 330.0 / 5);
    EXPECT_DOUBLE_EQ(five.candles[0].x, 3 + 33);

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
    EXPECT_DOUBLE_EQ(g.candles[9].body.top(), g.plot.y(103));
}

TEST(KLineAverages, UseTheWholeHistoryAlignWithTheVisibleBarsWidenTheRangeAndTheLegendWrapsOnceWithPriceDecimals) {
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

    const QSizeF small(120, 149);
    // Each entry "M5 1234.56" is about 50 points: two fit in a row of 120 points.
    const auto legend = layoutKLineLegend(layoutKLine(samples::dailyBars(300), defaultMovingAveragePeriods(), small),
                                          small, fixedWidth);
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
