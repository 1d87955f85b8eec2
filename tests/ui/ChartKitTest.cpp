#include "card/ChartKit.h"
#include "ChartTestSupport.h"
#include "card/Theme.h"
#include "card/charts/FlowGeometry.h"
#include "support/CommaLocale.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using ChartKit::Plot;

QImage drawn(
    QSizeF size, const std::function<void(QPainter&)>& paint = [](QPainter&) {}) {
    return testing::renderChart(size, 1, paint);
}

TEST(ChartKitPlot, MapsHighToTopLowToBottomAndAnEmptyRangeToTheMiddleAndNeedsTwoGridLines) {
    const Plot plot{QRectF(2, 1, 294, 135), 10, 20};
    EXPECT_DOUBLE_EQ(plot.y(20), 1);
    EXPECT_DOUBLE_EQ(plot.y(10), 136);
    EXPECT_DOUBLE_EQ(plot.y(25), 1 - 67.5); // no clamping
    EXPECT_DOUBLE_EQ((Plot{QRectF(2, 1, 294, 135), 7.5, 7.5}.y(1000)), 68.5);
    EXPECT_DOUBLE_EQ((Plot{QRectF(0, 0, 100, 100), 8, 7}.y(7.5)), 50);
    // The last of 241 minute slots ends at the right edge.
    EXPECT_DOUBLE_EQ(ChartKit::slotX(plot.rect, 0), 2);
    EXPECT_DOUBLE_EQ(ChartKit::slotX(plot.rect, 120), 2 + 147);
    EXPECT_DOUBLE_EQ(ChartKit::slotX(plot.rect, 240), plot.rect.right());
    EXPECT_TRUE(ChartKit::gridLineYs(plot, 1).empty());
    EXPECT_EQ(ChartKit::gridLineYs(plot, 4), (std::vector<double>{1, 46, 91, 136}));
}

TEST(ChartKitPaths, MissingPointsBreakTheLineAndTheAreaAndALonePointDrawsNothing) {
    const std::vector<std::optional<QPointF>> points{QPointF(0, 0), std::nullopt, QPointF(10, 5), QPointF(20, 8)};
    // The only drawn segment is p2-p3: nothing reaches the isolated first point.
    const QImage image = drawn({30, 12}, [&](QPainter& painter) {
        ChartKit::prepare(painter);
        ChartKit::polyline(painter, points, Qt::red, 1.5);
    });
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(5, 2)), 0);
    EXPECT_GT(qAlpha(image.pixel(15, 6)), 100);
    const QImage single = drawn({30, 12}, [](QPainter& painter) {
        ChartKit::polyline(painter, std::vector<std::optional<QPointF>>{std::nullopt, QPointF(10, 5)}, Qt::red, 1.5);
    });
    EXPECT_TRUE(testing::differingPixels(single, drawn({30, 12})).isEmpty());

    const QPainterPath path =
        ChartKit::filledAreaPath({QPointF(2, 10), std::nullopt, QPointF(6, 4), QPointF(9, 7)}, 20);
    ASSERT_GE(path.elementCount(), 5);
    EXPECT_EQ((std::vector<QPointF>{path.elementAt(0), path.elementAt(1), path.elementAt(3), path.elementAt(4)}),
              (std::vector{QPointF(2, 20), QPointF(2, 10), QPointF(9, 7), QPointF(9, 20)}));
    EXPECT_TRUE(ChartKit::filledAreaPath({QPointF(3, 3), std::nullopt}, 20).isEmpty());
}

TEST(ChartKitLabels, RangeLabelsGiveWayToTheReferenceLabelAndStayInTheView) {
    // Previous close near the bottom of the range: the bottom label would sit on top of it.
    auto tops = ChartKit::placeRangeLabels(-3, 126, 128, 10);
    EXPECT_EQ(tops.top, 0);
    EXPECT_DOUBLE_EQ(tops.reference, 126);
    EXPECT_FALSE(tops.bottom.has_value());
    // Well apart: all three stay where they were asked.
    EXPECT_EQ(ChartKit::placeRangeLabels(-3, 60, 70, 10).bottom, 70) << "a label's height apart is enough";
    tops = ChartKit::placeRangeLabels(-3, 60, 128, 10);
    EXPECT_TRUE(tops.top && tops.bottom == 128);
    // Reference at the very top: the top label goes, the reference stays inside the view.
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
}

TEST(ChartKitText, EqualDigitsFractionalSizesOnAnyDpiACjkFontForChineseAndAlignedBoxes) {
    testing::ensureApplication();
    QImage normal(10, 10, QImage::Format_ARGB32_Premultiplied);
    QImage dense(10, 10, QImage::Format_ARGB32_Premultiplied);
    dense.setDotsPerMeterX(int(144 / 0.0254));
    dense.setDotsPerMeterY(int(144 / 0.0254));
    for (double size : {7.5, 12.0}) {
        const QFontMetricsF metrics(ChartKit::digitsFont(size, QFont::Medium, &normal), &normal);
        const double zero = metrics.horizontalAdvance(QLatin1Char('0'));
        for (char digit = '1'; digit <= '9'; ++digit)
            EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QLatin1Char(digit)), zero) << digit << " at " << size;
    }
    const QFont small = ChartKit::font(ChartKit::TextStyle::axisValue, &normal);
    EXPECT_NEAR(small.pointSizeF() * normal.logicalDpiY() / 72.0, 8.5, 1e-6);
    const QFont onDense = ChartKit::font(ChartKit::TextStyle::axisValue, &dense);
    EXPECT_NEAR(onDense.pointSizeF() * dense.logicalDpiY() / 72.0, 8.5, 1e-6);
    // 8.5 and 8.0 px must not collapse to one integer pixel size.
    const QFont legend = ChartKit::font(ChartKit::TextStyle::legend, &normal);
    EXPECT_GT(QFontMetricsF(small, &normal).horizontalAdvance("1688.50"),
              QFontMetricsF(legend, &normal).horizontalAdvance("1688.50"));
    const QFont empty = ChartKit::font(ChartKit::TextStyle::emptyState, &normal);
    EXPECT_EQ(QFontInfo(empty).family(), QStringLiteral("Noto Sans CJK SC"));
    // Right alignment places the measured box and returns its size.
    QSizeF measured;
    const QImage image = drawn({120, 30}, [&](QPainter& painter) {
        const QFont font = ChartKit::font(ChartKit::TextStyle::axisValue, painter.device());
        measured = ChartKit::draw(painter, "1688.50", {100, 5}, font, Qt::black, ChartKit::Align::right);
    });
    EXPECT_GT(measured.width(), 20);
    EXPECT_GT(measured.height(), 8);
    const QRect inked = testing::differingPixels(image, drawn({120, 30}));
    EXPECT_LE(inked.right(), 100);
    EXPECT_GE(inked.right(), 97);
    EXPECT_NEAR(inked.left(), 100 - measured.width(), 2.5);
    EXPECT_GE(inked.top(), 5);
}

TEST(ThemeColours, RedMeansUpGreenMeansDownAndOnlyTheFirstAverageFollowsTheAppearance) {
    for (bool dark : {false, true}) {
        const QColor up = Theme::up().resolve(dark), down = Theme::down().resolve(dark);
        EXPECT_GT(up.red(), up.green() * 2) << dark;
        EXPECT_GT(down.green(), down.red() * 2) << dark;
    }
    EXPECT_LT(Theme::cardBackground().resolve(true).lightness(), 40);
    EXPECT_GT(Theme::cardBackground().resolve(false).lightness(), 200);
    // Near-black on light, near-white on dark; indices beyond the list take the last colour.
    EXPECT_LT(Theme::maColor(0).resolve(false).lightness(), 60);
    EXPECT_GT(Theme::maColor(0).resolve(true).lightness(), 230);
    EXPECT_EQ(Theme::maColor(11).resolve(false), Theme::maColors().back().resolve(false));
    // Dark and light through the window flag: the chart render tests.
    testing::ensureApplication();
    QWidget window;
    QWidget child(&window);
    Theme::applyMode(&window, ThemeMode::dark);
    Theme::applyMode(&window, ThemeMode::system);
    EXPECT_EQ(Theme::isDark(&child), Theme::systemIsDark()) << "system mode clears the window flag";
}

} // namespace
} // namespace glimmer
