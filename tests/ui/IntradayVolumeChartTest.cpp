#include "ChartSamples.h"
#include "ChartTestSupport.h"
#include "card/charts/IntradayGeometry.h"
#include "card/charts/VolumeGeometry.h"
#include "card/charts/VolumeView.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::chartArea;

std::vector<MinuteBar> minutesOf(std::initializer_list<double> volumes, double price = 10) {
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
    // A tiny view keeps a one-pixel plot instead of a negative one.
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

    // One unchanged minute: a one-cent range, one point at the left, no direction.
    const auto one = minutesOf({1200});
    Quote quote;
    quote.price = quote.prevClose = 10.0;
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

TEST(VolumeGeometry, OpeningSpikeIsCutAtTheNinetyFifthPercentileWhileTheRestStayReadable) {
    const auto day = samples::stockDay(true);
    const auto g = layoutVolume(day.quote, day.minutes, chartArea);
    ASSERT_EQ(g.bars.size(), 241u);
    EXPECT_EQ(g.plot, QRectF(2, 15, 294, 149 - 13 - 1 - 14));
    EXPECT_DOUBLE_EQ(g.maxVolume, 5200); // the label shows the true maximum, not the cap
    EXPECT_LT(g.cap, 1000);
    EXPECT_DOUBLE_EQ(g.bars[0].rect.top(), g.plot.top());
    EXPECT_DOUBLE_EQ(g.bars[0].rect.bottom(), g.plot.bottom());
    // An ordinary minute (about 260 lots) uses a good part of the height instead of 5 %.
    EXPECT_GT(g.bars[60].rect.height(), g.plot.height() * 0.25);
    // Bars start at their slot and keep a minimum width.
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
}

TEST(VolumeGeometry, ZeroAndCorruptVolumesDrawHalfPointBarsColoursCompareWithThePreviousMinuteAndAveragesTakeFive) {
    auto minutes = minutesOf({std::nan(""), 0, INFINITY});
    auto g = layoutVolume(std::nullopt, minutes, chartArea);
    EXPECT_DOUBLE_EQ(g.cap, 1);
    for (const auto& bar : g.bars) {
        EXPECT_DOUBLE_EQ(bar.rect.height(), 0.5);
        EXPECT_DOUBLE_EQ(bar.rect.bottom(), g.plot.bottom());
    }
    EXPECT_DOUBLE_EQ(g.average.back().y(), g.plot.bottom());
    minutes[1].volume = 300;
    g = layoutVolume(std::nullopt, minutes, chartArea);
    EXPECT_DOUBLE_EQ(g.maxVolume, 300);
    EXPECT_DOUBLE_EQ(g.totalVolume, 300);

    // Below the open, unchanged (counts as up), up, down.
    const std::vector<MinuteBar> prices{{"09:30", 9.98, 9.98, 500, 0},
                                        {"09:31", 9.98, 9.98, 300, 0},
                                        {"09:32", 10.02, 10, 300, 0},
                                        {"09:33", 10.01, 10, 200, 0}};
    Quote quote;
    quote.open = 10.00;
    const auto colours = layoutVolume(quote, prices, chartArea);
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

} // namespace
} // namespace glimmer
