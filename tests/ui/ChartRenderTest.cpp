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
#include "support/CommaLocale.h"
#include "ui/CardSamples.h"
#include "ui/TextRecorder.h"

#include <cmath>
#include <functional>
#include <memory>
#include <set>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::chartArea;
using testing::countLike;

QImage render(const ChartWidget& view, bool dark, double ratio = 1) {
    return testing::renderChart(chartArea, ratio,
                                [&](QPainter& painter) { view.paintChart(painter, chartArea, dark); });
}

int opaquePixels(const QImage& image, QRect rect = {}) {
    if (rect.isNull()) rect = image.rect();
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) count += qAlpha(image.pixel(x, y)) > 30;
    return count;
}

QString textsOf(ChartWidget& view) {
    view.resize(chartArea.toSize());
    return testing::TextRecorder::textsOf(view).join(' ');
}

class ChartRender : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureApplication(); }
};

TEST_F(ChartRender, EachChartTakesItsSeriesFromTheEntryAndDrawsOnlyWhenTheySuffice) {
    using enum ChartView;
    const std::vector<std::tuple<const char*, std::function<void(MarketEntry&)>, std::set<ChartView>>> cases{
        {"a full day", [](MarketEntry&) {}, {intraday, macd, fundFlow, dailyCandles, volume}},
        {"no quote", [](MarketEntry& e) { e.quote.reset(); }, {macd, fundFlow, dailyCandles, volume}},
        {"too few minutes for MACD",
         [](MarketEntry& e) { e.minutes.resize(MACDGeometry::minimumMinutes - 1); },
         {intraday, fundFlow, dailyCandles, volume}},
        {"too few candles",
         [](MarketEntry& e) { e.daily.resize(KLineGeometry::minimumBars - 1); },
         {intraday, macd, fundFlow, volume}},
        {"no flow and no minutes", [](MarketEntry& e) { e.flow.clear(), e.minutes.clear(); }, {dailyCandles}},
    };
    const QRect centre(60, 60, 216, 30);
    for (const ChartView view : ChartViews::order) {
        SCOPED_TRACE(ChartViews::label(view));
        const std::unique_ptr<ChartWidget> chart(makeChart(view, nullptr));
        EXPECT_EQ(chart->view(), view);
        const QImage waiting = render(*chart, true);
        EXPECT_GT(countLike(waiting, centre, Theme::textTertiary().resolve(true), 10), 15);
        EXPECT_EQ(opaquePixels(waiting), opaquePixels(waiting, centre));
        for (const auto& [name, change, withData] : cases) {
            MarketEntry entry = samples::cardEntry(true);
            change(entry);
            chart->setEntry(entry);
            const bool expected = withData.count(view) > 0;
            EXPECT_EQ(chart->hasData(), expected) << name;
            EXPECT_EQ(opaquePixels(render(*chart, true)) == opaquePixels(waiting), !expected) << name;
        }
    }
}

TEST_F(ChartRender, IntradayLineTakesTheColourOfTheDaysDirectionAndFundsShowAThirdDecimal) {
    for (bool dark : {false, true})
        for (int direction : {1, -1, 0}) {
            MarketEntry entry = samples::cardEntry(direction >= 0);
            if (direction == 0) entry.quote->price = entry.quote->prevClose;
            IntradayView view;
            view.setEntry(entry);
            const QImage image = render(view, dark);
            const auto g = layoutIntraday(view.quote, view.minutes, chartArea);
            const QRectF around(g.price[150].x() - 2, g.price[150].y() - 2, 4, 4);
            const DynamicColor& line = direction > 0 ? Theme::up() : direction < 0 ? Theme::down() : Theme::flat();
            EXPECT_GT(countLike(image, around, line.resolve(dark), 25), 0) << dark << direction;
            EXPECT_EQ(countLike(image, g.plot.rect, (direction > 0 ? Theme::down() : Theme::up()).resolve(dark), 30), 0)
                << dark << direction;
        }
    // A fund's previous close 3.580 reads as 3.58 on its own; its price has the third decimal.
    IntradayView view;
    view.quote = Quote{.price = 3.571, .prevClose = 3.58};
    view.minutes = {{"09:30", 3.571, 3.575, 100, 35710}};
    EXPECT_TRUE(textsOf(view).contains(QStringLiteral("3.580"))) << textsOf(view).toStdString();
}

TEST_F(ChartRender, VolumeBarsAreCrispAtEveryPixelRatio) {
    VolumeView view;
    view.setEntry(samples::cardEntry(true));
    const auto g = layoutVolume(view.quote, view.minutes, chartArea);
    for (double ratio : {1.0, 2.0}) {
        const QImage image = render(view, false, ratio);
        // Across the lower part of the bars every pixel is a whole bar pixel (alpha 0.85) or empty.
        const int row = int((g.plot.bottom() - 3) * ratio);
        for (int x = int(g.plot.left() * ratio); x < int(g.plot.right() * ratio); ++x) {
            const int alpha = qAlpha(image.pixel(x, row));
            EXPECT_TRUE(alpha == 0 || std::abs(alpha - 217) <= 1) << "x " << x << " alpha " << alpha << " at " << ratio;
        }
    }
}

TEST_F(ChartRender, FlowScissorsTakeTheLeadersColourAndTheTimeRowEndsAtTheLastPoint) {
    FlowView view;
    view.flow = samples::stockDay(true, 46).flow; // main ends far above retail, at 10:15
    const auto g = layoutFlow(view.flow, chartArea);
    const QImage ahead = render(view, false, 2);
    const QRectF scissors(200, g.legendY, 90, 10);
    EXPECT_GT(countLike(ahead, scissors, Theme::mainFlow().resolve(false), 50), 5);
    EXPECT_EQ(countLike(ahead, scissors, Theme::retailFlow().resolve(false), 50), 0);
    const QColor tertiary = Theme::textTertiary().resolve(false);
    EXPECT_GT(countLike(ahead, QRectF(g.plot.rect.right() - 22, 149 - 8, 22, 8), tertiary, 30), 5);
    EXPECT_EQ(countLike(ahead, QRectF(g.plot.rect.center().x() - 20, 149 - 8, 40, 8), tertiary, 30), 0);
    EXPECT_FALSE(textsOf(view).contains(QStringLiteral("15:00")));
    const QFont legend = ChartKit::font(ChartKit::TextStyle::axisValue, &ahead);
    EXPECT_GE(g.legendY, g.plot.rect.bottom());
    EXPECT_GE(g.timeY - g.legendY - ChartKit::measure("0", legend, &ahead).height(), 2);
    std::vector<FlowPoint> swapped = view.flow;
    for (auto& point : swapped) std::swap(point.main, point.retail);
    view.flow = swapped;
    EXPECT_GT(countLike(render(view, false, 2), scissors, Theme::retailFlow().resolve(false), 50), 5);
}

TEST_F(ChartRender, KLineRisingBodiesAreHollowAndFallingBodiesFilled) {
    KLineView view;
    view.bars = samples::dailyBars(5);
    view.bars[3] = {"2026-12-03", 1600, 1680, 1690, 1590, 1000};
    view.bars[4] = {"2026-12-04", 1680, 1610, 1700, 1600, 1000};
    view.periods = {};
    const auto g = layoutKLine(view.bars, view.periods, chartArea);
    const QImage image = render(view, false, 2);
    const auto inside = [&](int i) {
        const QRectF& body = g.candles[i].body;
        return image.pixelColor((QPointF(body.left() + body.width() / 4, body.center().y()) * 2).toPoint());
    };
    const QRectF& rising = g.candles[3].body;
    EXPECT_EQ(inside(3).alpha(), 0);
    EXPECT_GT(countLike(image, QRectF(rising.left(), rising.center().y(), 1, 1), Theme::up().resolve(false)), 0);
    EXPECT_TRUE(testing::looksLike(inside(4), Theme::down().resolve(false), 5));
}

TEST(ChartGeometry, CorruptNumbersFromABadReplyStayOutOfTheRanges) {
    MarketEntry entry = samples::cardEntry(true);
    entry.minutes[50].price = entry.flow[40].main = entry.daily[115].close = NAN;
    entry.minutes[51].avg = entry.daily[110].high = INFINITY;
    const auto intraday = layoutIntraday(entry.quote, entry.minutes, chartArea);
    EXPECT_LT(intraday.plot.hi - intraday.plot.lo, 100);
    const auto flow = layoutFlow(entry.flow, chartArea);
    EXPECT_TRUE(std::isfinite(flow.plot.lo) && std::isfinite(flow.plot.hi));
    const auto kline = layoutKLine(entry.daily, defaultMovingAveragePeriods(), chartArea);
    EXPECT_TRUE(std::isfinite(kline.plot.lo) && std::isfinite(kline.plot.hi));
}

using ChartKit::Plot;

TEST(ChartKit, PlotsMapUnclampedGapsBreakLinesAndAreasAndRangeLabelsGiveWayToTheReference) {
    const Plot plot{QRectF(2, 1, 294, 135), 10, 20};
    EXPECT_DOUBLE_EQ(plot.y(20), 1);
    EXPECT_DOUBLE_EQ(plot.y(10), 136);
    EXPECT_DOUBLE_EQ(plot.y(25), 1 - 67.5); // no clamping
    EXPECT_DOUBLE_EQ((Plot{QRectF(2, 1, 294, 135), 7.5, 7.5}.y(1000)), 68.5);
    EXPECT_DOUBLE_EQ((Plot{QRectF(0, 0, 100, 100), 8, 7}.y(7.5)), 50);
    EXPECT_TRUE(ChartKit::gridLineYs(plot, 1).empty());
    EXPECT_EQ(ChartKit::gridLineYs(plot, 4), (std::vector<double>{1, 46, 91, 136}));

    const std::vector<std::optional<QPointF>> points{QPointF(0, 0), std::nullopt, QPointF(10, 5), QPointF(20, 8)};
    // The only drawn segment is p2-p3: nothing reaches the isolated first point.
    const QImage image = testing::renderChart({30, 12}, 1, [&](QPainter& painter) {
        ChartKit::prepare(painter);
        ChartKit::polyline(painter, points, Qt::red, 1.5);
    });
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(5, 2)), 0);
    EXPECT_GT(qAlpha(image.pixel(15, 6)), 100);
    const QImage single = testing::renderChart({30, 12}, 1, [](QPainter& painter) {
        ChartKit::polyline(painter, std::vector<std::optional<QPointF>>{std::nullopt, QPointF(10, 5)}, Qt::red, 1.5);
    });
    EXPECT_TRUE(testing::differingPixels(single, testing::renderChart({30, 12}, 1, [](QPainter&) {})).isEmpty());

    const QPainterPath path =
        ChartKit::filledAreaPath({QPointF(2, 10), std::nullopt, QPointF(6, 4), QPointF(9, 7)}, 20);
    ASSERT_GE(path.elementCount(), 5);
    EXPECT_EQ((std::vector<QPointF>{path.elementAt(0), path.elementAt(1), path.elementAt(3), path.elementAt(4)}),
              (std::vector{QPointF(2, 20), QPointF(2, 10), QPointF(9, 7), QPointF(9, 20)}));
    EXPECT_TRUE(ChartKit::filledAreaPath({QPointF(3, 3), std::nullopt}, 20).isEmpty());

    // Previous close near the bottom of the range: the bottom label would sit on top of it.
    auto tops = ChartKit::placeRangeLabels(-3, 126, 128, 10);
    EXPECT_EQ(tops.top, 0);
    EXPECT_DOUBLE_EQ(tops.reference, 126);
    EXPECT_FALSE(tops.bottom.has_value());
    EXPECT_EQ(ChartKit::placeRangeLabels(-3, 60, 70, 10).bottom, 70) << "a label's height apart is enough";
    tops = ChartKit::placeRangeLabels(-3, 60, 128, 10);
    EXPECT_TRUE(tops.top && tops.bottom == 128);
    tops = ChartKit::placeRangeLabels(-3, -3, 128, 10);
    EXPECT_FALSE(tops.top.has_value());
    EXPECT_DOUBLE_EQ(tops.reference, 0);
}

TEST(ChartKitNumbers, FixedDecimalsWithAPointUnderACommaLocaleYiOrWanForLargeAmountsAndThreeOnlyForThirdDecimals) {
    testing::CommaLocale german;
    ASSERT_TRUE(german.isActive()) << "localedef could not build " << testing::CommaLocale::name;
    // Absurd decimal counts from a caller's bug still give bounded text.
    EXPECT_EQ(
        (QStringList{ChartKit::px(1688.5, 2), ChartKit::px(3.4567, 3), ChartKit::px(-0.126, 2), ChartKit::px(1.5, -3)}),
        (QStringList{"1688.50", "3.457", "-0.13", "2"}));
    EXPECT_LE(ChartKit::px(1e300, 400).size(), 330);
    EXPECT_EQ(yiText(-24000000), QStringLiteral("-0.24亿"));
    const std::pair<double, const char*> flows[] = {{-2.5e8, "-2.50亿"}, {-123456789, "-1.23亿"}, {99999, "10万"},
                                                    {-56000, "-6万"},    {9999, "9999"},          {10000, "1万"},
                                                    {-0.0, "0"}};
    for (const auto& [amount, text] : flows) EXPECT_EQ(Theme::flowString(amount), QString::fromUtf8(text)) << amount;
    // Prices a hair below a whole cent in binary (2.3 * 100 = 229.99999999999997) keep two.
    const std::pair<double, int> cases[] = {{3.456, 3},  {3.45, 2}, {0.456, 2}, {1234.567, 2},       {1.001, 3},
                                            {-3.456, 3}, {2.3, 2},  {4.35, 2},  {0.1 + 0.2 + 2., 2}, {999.999, 3}};
    for (const auto& [price, decimals] : cases) EXPECT_EQ(ChartKit::priceDecimals(price), decimals) << price;
    // Only the first average follows the appearance; periods past the last share its colour.
    EXPECT_LT(Theme::maColor(0).resolve(false).lightness(), 60);
    EXPECT_GT(Theme::maColor(0).resolve(true).lightness(), 230);
    EXPECT_EQ(Theme::maColor(11).resolve(false), Theme::maColors().back().resolve(false));
}

} // namespace
} // namespace glimmer
