#include "card/ChartKit.h"
#include "ChartTestSupport.h"
#include "card/Theme.h"
#include "card/charts/FlowGeometry.h"
#include "card/charts/VolumeView.h"
#include "support/CommaLocale.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using ChartKit::Plot;

TEST(ChartKitPlot, MapsHighToTopLowToBottomWithoutClamping) {
    const Plot plot{QRectF(2, 1, 294, 135), 10, 20};
    EXPECT_DOUBLE_EQ(plot.y(20), 1);
    EXPECT_DOUBLE_EQ(plot.y(10), 136);
    EXPECT_DOUBLE_EQ(plot.y(15), 68.5);
    EXPECT_DOUBLE_EQ(plot.y(25), 1 - 67.5);
}

TEST(ChartKitPlot, EmptyRangeMapsEveryValueToTheMiddle) {
    const Plot plot{QRectF(2, 1, 294, 135), 7.5, 7.5};
    EXPECT_DOUBLE_EQ(plot.y(7.5), 68.5);
    EXPECT_DOUBLE_EQ(plot.y(1000), 68.5);
    const Plot inverted{QRectF(0, 0, 100, 100), 8, 7};
    EXPECT_DOUBLE_EQ(inverted.y(7.5), 50);
}

TEST(ChartKitTimeAxis, MinuteSlotsSpanTheDaySoTheLastOfTwoHundredFortyOneEndsAtTheRightEdge) {
    const QRectF rect(2, 1, 294, 135);
    EXPECT_DOUBLE_EQ(ChartKit::slotX(rect, 0), 2);
    EXPECT_DOUBLE_EQ(ChartKit::slotX(rect, 120), 2 + 147);
    EXPECT_DOUBLE_EQ(ChartKit::slotX(rect, 240), rect.right());
}

TEST(ChartKitGrid, NeedsTwoLinesAndPutsTheOuterOnesOnThePlotEdges) {
    const Plot plot{QRectF(2, 1, 294, 135), 0, 1};
    EXPECT_TRUE(ChartKit::gridLineYs(plot, 1).empty());
    EXPECT_TRUE(ChartKit::gridLineYs(plot, 0).empty());
    const auto ys = ChartKit::gridLineYs(plot, 4);
    ASSERT_EQ(ys.size(), 4u);
    EXPECT_DOUBLE_EQ(ys[0], 1);
    EXPECT_DOUBLE_EQ(ys[1], 1 + 45);
    EXPECT_DOUBLE_EQ(ys[2], 1 + 90);
    EXPECT_DOUBLE_EQ(ys[3], 136);
}

TEST(ChartKitPolyline, MissingPointsBreakTheLineAndALonePointDrawsNothing) {
    const std::vector<std::optional<QPointF>> points{QPointF(0, 0), std::nullopt, QPointF(10, 5), QPointF(20, 8)};
    const QPainterPath path = ChartKit::polylinePath(points);
    // The isolated first point only starts a sub-path that the second one replaces.
    ASSERT_EQ(path.elementCount(), 2);
    EXPECT_TRUE(path.elementAt(0).isMoveTo());
    EXPECT_EQ(QPointF(path.elementAt(0)), QPointF(10, 5));
    EXPECT_TRUE(path.elementAt(1).isLineTo());
    EXPECT_EQ(QPointF(path.elementAt(1)), QPointF(20, 8));
    const QPainterPath joined = ChartKit::polylinePath(
        {QPointF(0, 0), QPointF(1, 1), std::nullopt, QPointF(3, 3), QPointF(4, 4), QPointF(5, 5)});
    ASSERT_EQ(joined.elementCount(), 5);
    EXPECT_TRUE(joined.elementAt(2).isMoveTo());
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
    for (int y = 0; y < single.height(); ++y) {
        for (int x = 0; x < single.width(); ++x) ASSERT_EQ(qAlpha(single.pixel(x, y)), 0);
    }
}

TEST(ChartKitFilledArea, ClosesDownToTheBaselineAndNeedsTwoPresentPoints) {
    const std::vector<std::optional<QPointF>> points{QPointF(2, 10), std::nullopt, QPointF(6, 4), QPointF(9, 7)};
    const QPainterPath path = ChartKit::filledAreaPath(points, 20);
    ASSERT_GE(path.elementCount(), 5);
    EXPECT_EQ(QPointF(path.elementAt(0)), QPointF(2, 20));
    EXPECT_EQ(QPointF(path.elementAt(1)), QPointF(2, 10));
    EXPECT_EQ(QPointF(path.elementAt(3)), QPointF(9, 7));
    EXPECT_EQ(QPointF(path.elementAt(4)), QPointF(9, 20));
    EXPECT_TRUE(ChartKit::filledAreaPath({QPointF(3, 3), std::nullopt}, 20).isEmpty());
    EXPECT_TRUE(ChartKit::filledAreaPath({}, 20).isEmpty());
}

TEST(ChartKitLabels, RangeLabelsGiveWayToTheReferenceLabelAndStayInTheView) {
    // Previous close near the bottom of the range: the bottom label would sit on top of it.
    auto tops = ChartKit::placeRangeLabels(-3, 126, 128, 10);
    ASSERT_TRUE(tops.top.has_value());
    EXPECT_DOUBLE_EQ(*tops.top, 0);
    EXPECT_DOUBLE_EQ(tops.reference, 126);
    EXPECT_FALSE(tops.bottom.has_value());
    // Well apart: all three stay where they were asked.
    tops = ChartKit::placeRangeLabels(-3, 60, 128, 10);
    EXPECT_TRUE(tops.top && tops.bottom);
    EXPECT_DOUBLE_EQ(*tops.bottom, 128);
    // Reference at the very top: the top label goes, the reference stays inside the view.
    tops = ChartKit::placeRangeLabels(-3, -3, 128, 10);
    EXPECT_FALSE(tops.top.has_value());
    EXPECT_DOUBLE_EQ(tops.reference, 0);
}

TEST(ChartKitNumbers, PxUsesTheGivenFixedDecimals) {
    EXPECT_EQ(ChartKit::px(1688.5, 2), QStringLiteral("1688.50"));
    EXPECT_EQ(ChartKit::px(3.4567, 3), QStringLiteral("3.457"));
    EXPECT_EQ(ChartKit::px(-0.126, 2), QStringLiteral("-0.13"));
    EXPECT_EQ(ChartKit::px(12.6, 0), QStringLiteral("13"));
    // Absurd decimal counts from a caller's bug still give bounded text.
    EXPECT_EQ(ChartKit::px(1.5, -3), QStringLiteral("2"));
    EXPECT_LE(ChartKit::px(1e300, 400).size(), 330);
}

TEST(ChartKitNumbers, EveryFigureOnScreenKeepsItsDecimalPointUnderACommaLocale) {
    testing::CommaLocale german;
    ASSERT_TRUE(german.isActive()) << "localedef could not build " << testing::CommaLocale::name;
    EXPECT_EQ(ChartKit::px(1421.5, 2), QStringLiteral("1421.50"));
    EXPECT_EQ(Theme::flowString(-2.5e8), QStringLiteral("-2.50亿"));
    EXPECT_EQ(VolumeView::format(12345), QStringLiteral("1.2万手"));
    EXPECT_EQ(yiText(-24000000), QStringLiteral("-0.24亿"));
}

TEST(ChartKitNumbers, ThreeDecimalsOnlyForPricesWithAThirdDecimalBetweenOneAndOneThousand) {
    EXPECT_EQ(ChartKit::priceDecimals(3.456), 3);
    EXPECT_EQ(ChartKit::priceDecimals(3.45), 2);
    EXPECT_EQ(ChartKit::priceDecimals(0.456), 2);
    EXPECT_EQ(ChartKit::priceDecimals(1234.567), 2);
    EXPECT_EQ(ChartKit::priceDecimals(1.001), 3);
    EXPECT_EQ(ChartKit::priceDecimals(-3.456), 3);
    // Prices a hair below a whole cent in binary (2.3 * 100 = 229.99999999999997) keep two.
    EXPECT_EQ(ChartKit::priceDecimals(1675.5), 2);
    EXPECT_EQ(ChartKit::priceDecimals(2.3), 2);
    EXPECT_EQ(ChartKit::priceDecimals(4.35), 2);
    EXPECT_EQ(ChartKit::priceDecimals(0.1 + 0.2 + 2.0), 2);
    EXPECT_EQ(ChartKit::priceDecimals(2.301), 3);
    EXPECT_EQ(ChartKit::priceDecimals(999.999), 3);
}

TEST(ChartKitFonts, DigitsFontGivesEveryDigitTheSameAdvance) {
    testing::ensureChartApplication();
    QImage device(10, 10, QImage::Format_ARGB32_Premultiplied);
    for (double size : {7.0, 7.5, 8.0, 8.5, 12.0, 20.0}) {
        const QFontMetricsF metrics(ChartKit::digitsFont(size, QFont::Medium, &device), &device);
        const double zero = metrics.horizontalAdvance(QLatin1Char('0'));
        EXPECT_GT(zero, 0);
        for (char digit = '1'; digit <= '9'; ++digit) {
            EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QLatin1Char(digit)), zero) << digit << " at " << size;
        }
    }
}

TEST(ChartKitFonts, SizesAreFractionalLogicalPixelsOnAnyDpi) {
    testing::ensureChartApplication();
    QImage normal(10, 10, QImage::Format_ARGB32_Premultiplied);
    QImage dense(10, 10, QImage::Format_ARGB32_Premultiplied);
    dense.setDotsPerMeterX(int(144 / 0.0254));
    dense.setDotsPerMeterY(int(144 / 0.0254));
    const QFont small = ChartKit::font(ChartKit::TextStyle::axisValue, &normal);
    EXPECT_NEAR(small.pointSizeF() * normal.logicalDpiY() / 72.0, 8.5, 1e-6);
    const QFont onDense = ChartKit::font(ChartKit::TextStyle::axisValue, &dense);
    EXPECT_NEAR(onDense.pointSizeF() * dense.logicalDpiY() / 72.0, 8.5, 1e-6);
    // 8.5 and 8.0 px must not collapse to one integer pixel size.
    const QFont legend = ChartKit::font(ChartKit::TextStyle::legend, &normal);
    EXPECT_GT(QFontMetricsF(small, &normal).horizontalAdvance("1688.50"),
              QFontMetricsF(legend, &normal).horizontalAdvance("1688.50"));
}

TEST(ChartKitFonts, ChineseTextRendersWithACjkFont) {
    testing::ensureChartApplication();
    QImage device(10, 10, QImage::Format_ARGB32_Premultiplied);
    const QFont empty = ChartKit::font(ChartKit::TextStyle::emptyState, &device);
    EXPECT_EQ(QFontInfo(empty).family(), QStringLiteral("Noto Sans CJK SC"));
    const QFontMetricsF metrics(ChartKit::font(ChartKit::TextStyle::legend, &device), &device);
    EXPECT_TRUE(metrics.inFontUcs4(U'均') || QFontMetricsF(empty, &device).inFontUcs4(U'均'));
}

TEST(ChartKitText, AlignmentPlacesTheMeasuredBoxAndReturnsItsSize) {
    testing::ensureChartApplication();
    QSizeF measured;
    const QImage image = testing::renderChart({120, 30}, 1, [&](QPainter& painter) {
        const QFont font = ChartKit::font(ChartKit::TextStyle::axisValue, painter.device());
        measured = ChartKit::draw(painter, "1688.50", {100, 5}, font, Qt::black, ChartKit::Align::right);
    });
    EXPECT_GT(measured.width(), 20);
    EXPECT_GT(measured.height(), 8);
    int minX = image.width();
    int maxX = -1;
    int minY = image.height();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 60) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
            }
        }
    }
    EXPECT_LE(maxX, 100);
    EXPECT_GE(maxX, 97);
    EXPECT_NEAR(minX, 100 - measured.width(), 2.5);
    EXPECT_GE(minY, 5);
}

} // namespace
} // namespace glimmer
