#include "ChartSamples.h"
#include "ChartTestSupport.h"
#include "card/ChartKit.h"
#include "card/Theme.h"
#include "card/charts/ChartFactory.h"
#include "card/charts/FlowView.h"
#include "card/charts/IntradayView.h"
#include "card/charts/KLineView.h"
#include "card/charts/MACDView.h"
#include "card/charts/VolumeView.h"
#include "ui/CardSamples.h"

#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <set>

namespace glimmer {
namespace {

using testing::chartArea;
using testing::countLike;
using testing::renderChart;

template <typename View> QImage render(const View& view, bool dark, double ratio = 1, QSizeF size = chartArea) {
    return renderChart(size, ratio, [&](QPainter& painter) { view.paintChart(painter, size, dark); });
}

int opaquePixels(const QImage& image, const QRect& rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) count += qAlpha(image.pixel(x, y)) > 30;
    }
    return count;
}

template <typename View> void showDay(View& view, const samples::Day& day) {
    view.quote = day.quote;
    view.minutes = day.minutes;
}

QRect whole(double ratio) {
    return QRect(QPoint(0, 0), (chartArea * ratio).toSize());
}

class ChartRender : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureChartApplication(); }
};

TEST_F(ChartRender, EachChartTakesItsSeriesFromTheEntryAndDrawsOnlyWhenTheySuffice) {
    using enum ChartView;
    struct Case {
        const char* name;
        std::function<void(MarketEntry&)> change;
        std::set<ChartView> withData;
    };
    const std::vector<Case> cases{
        {"a full day", [](MarketEntry&) {}, {intraday, macd, fundFlow, dailyCandles, volume}},
        {"no quote", [](MarketEntry& e) { e.quote.reset(); }, {macd, fundFlow, dailyCandles, volume}},
        {"too few minutes for MACD",
         [](MarketEntry& e) { e.minutes.resize(MACDGeometry::minimumMinutes - 1); },
         {intraday, fundFlow, dailyCandles, volume}},
        {"too few candles",
         [](MarketEntry& e) { e.daily.resize(KLineGeometry::minimumBars - 1); },
         {intraday, macd, fundFlow, volume}},
        {"no flow and no minutes",
         [](MarketEntry& e) {
             e.flow.clear();
             e.minutes.clear();
         },
         {dailyCandles}},
    };
    for (const ChartView view : ChartViews::order) {
        SCOPED_TRACE(ChartViews::label(view));
        const std::unique_ptr<ChartWidget> chart(makeChart(view, nullptr));
        EXPECT_EQ(chart->view(), view);
        EXPECT_FALSE(chart->hasData());
        const int emptyState = opaquePixels(render(*chart, false), whole(1));
        for (const Case& c : cases) {
            MarketEntry entry = samples::cardEntry(true);
            c.change(entry);
            chart->setEntry(entry);
            const bool expected = c.withData.count(view) > 0;
            EXPECT_EQ(chart->hasData(), expected) << c.name;
            const int drawn = opaquePixels(render(*chart, false), whole(1));
            EXPECT_EQ(drawn == emptyState, !expected) << c.name << ": the empty-state text, or the chart";
        }
    }
}

TEST_F(ChartRender, IntradayLineIsRedOnARisingDayAndGreenOnAFallingOne) {
    for (bool dark : {false, true}) {
        for (bool rising : {true, false}) {
            IntradayView view;
            showDay(view, samples::stockDay(rising));
            const QImage image = render(view, dark);
            const auto g = layoutIntraday(view.quote, view.minutes, chartArea);
            const QPointF mid = g.price[150];
            const QRectF around(mid.x() - 2, mid.y() - 2, 4, 4);
            const QColor lineColour = (rising ? Theme::up() : Theme::down()).resolve(dark);
            const QColor otherColour = (rising ? Theme::down() : Theme::up()).resolve(dark);
            EXPECT_GT(countLike(image, around, lineColour), 0) << "dark " << dark << " rising " << rising;
            EXPECT_EQ(countLike(image, g.plot.rect, otherColour, 30), 0) << "dark " << dark << " rising " << rising;
        }
    }
}

TEST_F(ChartRender, IntradayUnchangedDayUsesTheFlatColour) {
    auto day = samples::stockDay(true, 120);
    day.quote.price = day.quote.prevClose;
    IntradayView view;
    showDay(view, day);
    const QImage image = render(view, false);
    const auto g = layoutIntraday(view.quote, view.minutes, chartArea);
    const QPointF mid = g.price[60];
    EXPECT_GT(countLike(image, QRectF(mid.x() - 2, mid.y() - 2, 4, 4), Theme::flat().resolve(false), 25), 0);
    EXPECT_EQ(countLike(image, g.plot.rect, Theme::up().resolve(false), 30), 0);
}

TEST_F(ChartRender, IntradayBaselineIsDashedFourOnThreeOff) {
    IntradayView view;
    showDay(view, samples::stockDay(true, 40)); // right part still empty
    const QImage image = render(view, false);
    const auto g = layoutIntraday(view.quote, view.minutes, chartArea);
    const int row = int(g.baselineY);
    std::vector<bool> inked;
    for (int x = 120; x < 260; ++x) inked.push_back(qAlpha(image.pixel(x, row)) > 20);
    int runs = 0;
    int inkedCount = 0;
    for (std::size_t i = 0; i < inked.size(); ++i) {
        inkedCount += inked[i];
        if (i > 0 && inked[i] && !inked[i - 1]) ++runs;
    }
    // 140 px of a 7 px pattern: 20 dashes, about four sevenths of the row inked.
    EXPECT_NEAR(runs, 20, 1);
    EXPECT_NEAR(inkedCount, 140 * 4 / 7, 12);
}

TEST_F(ChartRender, IntradayPriceLabelsCarryAFundsThirdDecimal) {
    IntradayView view;
    showDay(view, samples::fundDay());
    ASSERT_EQ(ChartKit::priceDecimals(view.quote->price), 3) << view.quote->price;
    const auto g = layoutIntraday(view.quote, view.minutes, chartArea);
    EXPECT_EQ(g.decimals, 3);
    for (double ratio : {1.0, 2.0}) {
        const QImage image = render(view, false, ratio);
        const QFont font = ChartKit::font(ChartKit::TextStyle::axisValue, &image);
        const double labelX = g.plot.rect.right() + 4;
        const double top = std::max(g.baselineY - 4, 0.0);
        const double height = ChartKit::measure("0", font, &image).height();
        // The rightmost ink of the previous-close label reaches past where "3.58" would end.
        int right = -1;
        for (int y = int(top * ratio); y < int((top + height) * ratio); ++y) {
            for (int x = int(labelX * ratio); x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) > 60) right = std::max(right, x);
            }
        }
        const double twoDecimals = ChartKit::measure("3.58", font, &image).width();
        const double threeDecimals = ChartKit::measure("3.580", font, &image).width();
        EXPECT_GT(right / ratio, labelX + (twoDecimals + threeDecimals) / 2) << "ratio " << ratio;
        EXPECT_LE(right / ratio, labelX + threeDecimals + 1) << "ratio " << ratio;
    }
    // A stock keeps two.
    EXPECT_EQ(layoutIntraday(samples::stockDay(true).quote, samples::stockDay(true).minutes, chartArea).decimals, 2);
}

TEST_F(ChartRender, EmptyChartsShowTheirWaitingTextInTheMiddle) {
    Quote quote = samples::stockDay(true, 1).quote;
    IntradayView intraday;
    intraday.quote = quote;
    VolumeView volume;
    volume.quote = quote;
    MACDView macd;
    macd.minutes = samples::stockDay(true, 3).minutes;
    FlowView flow;
    KLineView kline;
    kline.bars = samples::dailyBars(4);
    const QRect centre(60, 60, 216, 30);
    for (bool dark : {false, true}) {
        const QColor text = Theme::textTertiary().resolve(dark);
        for (const QImage& image : {render(intraday, dark), render(volume, dark), render(macd, dark),
                                    render(flow, dark), render(kline, dark)}) {
            EXPECT_GT(countLike(image, centre, text, 10), 15);
            EXPECT_EQ(opaquePixels(image, image.rect()), opaquePixels(image, centre));
        }
    }
    // The volume message is longer than the intraday one.
    EXPECT_GT(opaquePixels(render(volume, false), centre), opaquePixels(render(intraday, false), centre));
}

TEST_F(ChartRender, VolumeSpikeReachesThePlotTopInTheOpeningColour) {
    VolumeView view;
    showDay(view, samples::stockDay(true));
    const auto g = layoutVolume(view.quote, view.minutes, chartArea);
    const QImage image = render(view, false, 2);
    const QColor opening = (g.bars[0].isUp ? Theme::up() : Theme::down()).resolve(false);
    EXPECT_GT(countLike(image, QRectF(g.plot.left(), g.plot.top() + 1, 1, 4), opening), 4);
    // Just above the plot top (the legend row lives higher) nothing of the bar shows.
    EXPECT_EQ(countLike(image, QRectF(g.plot.left(), g.plot.top() - 3, 1, 2), opening), 0);
}

TEST_F(ChartRender, VolumeBarsAreCrispAtOneAndTwoTimes) {
    VolumeView view;
    showDay(view, samples::stockDay(true));
    const auto g = layoutVolume(view.quote, view.minutes, chartArea);
    for (double ratio : {1.0, 2.0}) {
        const QImage image = render(view, false, ratio);
        // Across the lower part of the bars, below the average line, every pixel is either a
        // whole bar pixel (alpha 0.85) or empty: no half-covered bar edges.
        const int row = int((g.plot.bottom() - 3) * ratio);
        int bar = 0;
        for (int x = int(g.plot.left() * ratio); x < int(g.plot.right() * ratio); ++x) {
            const int alpha = qAlpha(image.pixel(x, row));
            EXPECT_TRUE(alpha == 0 || std::abs(alpha - 217) <= 1) << "x " << x << " alpha " << alpha << " at " << ratio;
            bar += alpha > 0;
        }
        EXPECT_GT(bar, int(g.plot.width() * ratio * 0.6));
    }
}

TEST_F(ChartRender, MacdDrawsBarsBothSidesOfZeroAndTheDifLine) {
    MACDView view;
    view.minutes = samples::stockDay(false).minutes;
    const auto g = layoutMACD(view.minutes, chartArea);
    const QImage image = render(view, true, 2);
    QColor upBar = Theme::up().resolve(true);
    EXPECT_GT(
        countLike(image, QRectF(g.plot.rect.left(), g.plot.rect.top(), g.plot.rect.width(), g.zeroY - 2), upBar, 60),
        0);
    EXPECT_GT(countLike(image, QRectF(g.plot.rect.left(), g.zeroY + 2, g.plot.rect.width(), 60),
                        Theme::down().resolve(true), 60),
              0);
    // Nothing is drawn in the right margin except below the plot (time labels).
    EXPECT_EQ(opaquePixels(image, QRect(2 * 300, 0, 2 * 36, 2 * 100)), 0);
}

TEST_F(ChartRender, FlowScissorsTakeTheColourOfTheLeadingSide) {
    FlowView view;
    view.flow = samples::stockDay(true).flow; // main ends far above retail
    const QImage ahead = render(view, false, 2);
    const QRectF scissorsBox(200, layoutFlow(view.flow, chartArea).legendY, 90, 10);
    EXPECT_GT(countLike(ahead, scissorsBox, Theme::mainFlow().resolve(false), 50), 5);
    EXPECT_EQ(countLike(ahead, scissorsBox, Theme::retailFlow().resolve(false), 50), 0);
    std::vector<FlowPoint> swapped = view.flow;
    for (auto& point : swapped) std::swap(point.main, point.retail);
    view.flow = std::move(swapped);
    const QImage behind = render(view, false, 2);
    EXPECT_GT(countLike(behind, scissorsBox, Theme::retailFlow().resolve(false), 50), 5);
}

TEST_F(ChartRender, FlowTimeRowEndsAtTheLastPoint) {
    FlowView view;
    view.flow = samples::stockDay(true, 46).flow;
    ASSERT_EQ(view.flow.back().time, "10:15");
    const QImage image = render(view, false, 2);
    const auto g = layoutFlow(view.flow, chartArea);
    const QColor tertiary = Theme::textTertiary().resolve(false);
    // "10:15" right-aligned at the plot's right edge; nothing of "11:30/13:00" in the middle.
    EXPECT_GT(countLike(image, QRectF(g.plot.rect.right() - 22, 149 - 8, 22, 8), tertiary, 30), 5);
    EXPECT_EQ(countLike(image, QRectF(g.plot.rect.center().x() - 20, 149 - 8, 40, 8), tertiary, 30), 0);
}

TEST_F(ChartRender, FlowLegendAndTimeRowsHaveRoomBetweenThem) {
    FlowView view;
    view.flow = samples::stockDay(true).flow;
    // The card's chart and the expand panel's, which is lower.
    for (const QSizeF size : {chartArea, QSizeF(334, 124)}) {
        const auto g = layoutFlow(view.flow, size);
        for (double ratio : {1.0, 2.0}) {
            const QImage image = render(view, false, ratio, size);
            // Rows under the plot holding ink where both rows start: "● 主力" above "09:30".
            std::vector<int> inkedRows;
            for (int y = int((g.plot.rect.bottom() + 1) * ratio); y < image.height(); ++y) {
                const QRect line(int(g.plot.rect.left() * ratio), y, int(36 * ratio), 1);
                if (opaquePixels(image, line) > 0) inkedRows.push_back(y);
            }
            ASSERT_FALSE(inkedRows.empty());
            std::vector<std::pair<int, int>> runs{{inkedRows.front(), inkedRows.front()}};
            for (int y : inkedRows) {
                if (y == runs.back().second + 1 || y == runs.back().first) {
                    runs.back().second = y;
                } else {
                    runs.push_back({y, y});
                }
            }
            ASSERT_EQ(runs.size(), 2u) << "legend and time rows at " << size.height() << " x" << ratio;
            EXPECT_GE(runs[1].first - runs[0].second - 1, int(2 * ratio)) << size.height() << " x" << ratio;
        }
    }
}

TEST_F(ChartRender, KLineRisingBodiesAreHollowAndFallingBodiesFilled) {
    KLineView view;
    view.bars = samples::dailyBars(5);
    view.bars[3] = {"2026-12-03", 1600, 1680, 1690, 1590, 1000};
    view.bars[4] = {"2026-12-04", 1680, 1610, 1700, 1600, 1000};
    view.periods = {};
    const auto g = layoutKLine(view.bars, view.periods, chartArea);
    const QImage image = render(view, false, 2);
    const Candle& rising = g.candles[3];
    const Candle& falling = g.candles[4];
    const QPointF inside(rising.body.left() + rising.body.width() / 4, rising.body.center().y());
    EXPECT_EQ(qAlpha(image.pixel((inside * 2).toPoint())), 0);
    EXPECT_GT(countLike(image, QRectF(rising.body.left(), rising.body.center().y(), 1, 1), Theme::up().resolve(false)),
              0);
    const QPointF filled(falling.body.left() + falling.body.width() / 4, falling.body.center().y());
    EXPECT_TRUE(testing::looksLike(image.pixelColor((filled * 2).toPoint()), Theme::down().resolve(false), 5));
}

TEST_F(ChartRender, EveryViewPaintsInsideItsBoundsAtOneAndTwoTimes) {
    IntradayView intraday;
    showDay(intraday, samples::stockDay(true));
    KLineView kline;
    kline.bars = samples::dailyBars(300);
    for (double ratio : {1.0, 2.0}) {
        const QImage a = render(intraday, false, ratio);
        const QImage b = render(kline, true, ratio);
        EXPECT_EQ(a.size(), (chartArea * ratio).toSize());
        EXPECT_GT(opaquePixels(a, a.rect()), 500);
        EXPECT_GT(opaquePixels(b, b.rect()), 500);
    }
}

TEST_F(ChartRender, CorruptNumbersFromABadReplyLeaveGapsNotGarbage) {
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    auto day = samples::stockDay(true);
    day.minutes[50].price = nan;
    day.minutes[51].avg = inf;
    day.minutes[52].volume = -inf;
    day.flow[40].main = nan;
    auto bars = samples::dailyBars(200);
    bars[190].high = inf;
    bars[195].close = nan;

    const auto intraday = layoutIntraday(day.quote, day.minutes, chartArea);
    EXPECT_TRUE(std::isfinite(intraday.plot.lo) && std::isfinite(intraday.plot.hi));
    EXPECT_LT(intraday.plot.hi - intraday.plot.lo, 100);
    const auto flow = layoutFlow(day.flow, chartArea);
    EXPECT_TRUE(std::isfinite(flow.plot.lo) && std::isfinite(flow.plot.hi));
    const auto kline = layoutKLine(bars, defaultMovingAveragePeriods(), chartArea);
    EXPECT_TRUE(std::isfinite(kline.plot.lo) && std::isfinite(kline.plot.hi));

    IntradayView intradayView;
    showDay(intradayView, day);
    VolumeView volumeView;
    volumeView.minutes = day.minutes;
    MACDView macdView;
    macdView.minutes = day.minutes;
    FlowView flowView;
    flowView.flow = day.flow;
    KLineView klineView;
    klineView.bars = bars;
    for (double ratio : {1.0, 2.0}) {
        // The rest of the day still draws around the gap.
        EXPECT_GT(opaquePixels(render(intradayView, false, ratio), whole(ratio)), 500);
        EXPECT_GT(opaquePixels(render(volumeView, false, ratio), whole(ratio)), 500);
        render(macdView, false, ratio);
        EXPECT_GT(opaquePixels(render(flowView, false, ratio), whole(ratio)), 300);
        EXPECT_GT(opaquePixels(render(klineView, false, ratio), whole(ratio)), 500);
    }
}

TEST_F(ChartRender, AWidgetOnScreenResolvesColoursAgainstItsWindowsAppearance) {
    QWidget window;
    window.resize(chartArea.toSize());
    auto* view = new IntradayView(&window);
    view->resize(chartArea.toSize());
    const auto day = samples::stockDay(true);
    view->quote = day.quote;
    view->minutes = day.minutes;
    const auto g = layoutIntraday(view->quote, view->minutes, chartArea);
    const QRectF around(g.price[150].x() - 2, g.price[150].y() - 2, 4, 4);
    for (ThemeMode mode : {ThemeMode::dark, ThemeMode::light}) {
        Theme::applyMode(&window, mode);
        const bool dark = mode == ThemeMode::dark;
        const QImage image = view->grab().toImage();
        EXPECT_GT(countLike(image, around, Theme::up().resolve(dark), 12), 0) << "dark " << dark;
        EXPECT_EQ(countLike(image, around, Theme::up().resolve(!dark), 12), 0) << "dark " << dark;
    }
}

} // namespace
} // namespace glimmer
