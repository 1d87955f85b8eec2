#include "card/MinimalSlider.h"
#include "ui/TestApplication.h"

#include <QImage>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using S = MinimalSlider;

// The card's slider: 18 pt wide in its 26 pt gutter, 120 pt tall.
const QSizeF sliderSize(18, 120);

TEST(MinimalSliderGeometry, MinimumAtTheBottomMaximumAtTheTopOfAFivePointTrack) {
    EXPECT_EQ(S::trackRect(sliderSize), QRectF(6.5, 8, 5, 104));
    // A slider too short for its margins keeps a one-point track rather than none.
    EXPECT_EQ(S::trackRect(QSizeF(18, 10)).height(), 1);
    EXPECT_DOUBLE_EQ(S::knobY(sliderSize, S::fraction(0.25, 0.25, 1)), 112);
    EXPECT_DOUBLE_EQ(S::knobY(sliderSize, S::fraction(0.625, 0.25, 1)), 60);
    // Values outside the range stay on the track; equal or reversed bounds divide by a tiny range, not zero.
    const std::tuple<double, double, double, double> fractions[] = {
        {0.1, 0.25, 1, 0}, {1.5, 0.25, 1, 1}, {0.5, 0.5, 0.5, 0}, {0.50005, 0.5, 0.5, 0.5}, {0.5, 0.5, 0.4, 0}};
    for (const auto& [value, low, high, fraction] : fractions)
        EXPECT_NEAR(S::fraction(value, low, high), fraction, 1e-9) << value << " in " << low << "..." << high;
    EXPECT_DOUBLE_EQ(S::valueAt(-40, sliderSize, 0.25, 1), 1);
    EXPECT_DOUBLE_EQ(S::valueAt(400, sliderSize, 0.25, 1), 0.25);
    EXPECT_DOUBLE_EQ(S::valueAt(8, sliderSize, 0.5, 0.5), 0.5);
}

TEST(MinimalSlider, LeftPressAndDragReportEveryValueReleaseCommitsOnceAndTheKnobSitsAtTheValue) {
    testing::ensureApplication();
    MinimalSlider slider;
    slider.resize(sliderSize.toSize());
    std::vector<double> changes;
    int commits = 0;
    slider.onChange = [&](double value) { changes.push_back(value); };
    slider.onCommit = [&] { ++commits; };
    testing::mousePress(slider, QPoint(9, 8), Qt::RightButton);
    testing::mouseRelease(slider, QPoint(9, 8), Qt::RightButton);
    EXPECT_DOUBLE_EQ(slider.value(), 0.55);
    testing::mousePress(slider, QPoint(9, 8));
    testing::mouseDrag(slider, QPoint(9, 60));
    testing::mouseDrag(slider, QPoint(9, 300));
    testing::mouseRelease(slider, QPoint(9, 300), Qt::RightButton);
    EXPECT_EQ(commits, 0);
    testing::mouseRelease(slider, QPoint(9, 300));
    EXPECT_EQ(changes, (std::vector<double>{1, 0.625, 0.25}));
    EXPECT_EQ(commits, 1);

    const auto render = [&] {
        QImage image(slider.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        slider.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    slider.setValue(1.0);
    QImage image = render();
    // Knob at the top, filled below it down to the bottom.
    EXPECT_GT(qGray(image.pixel(9, 8)), 200);
    EXPECT_GT(qGray(image.pixel(9, 100)), 200);
    slider.setMinValue(0.5);
    slider.setMaxValue(0.5);
    slider.setValue(0.5);
    image = render();
    // Equal bounds: knob at the bottom, the track above it unfilled (dim), nothing outside the capsule.
    EXPECT_GT(qGray(image.pixel(9, 112)), 200);
    EXPECT_LT(qGray(image.pixel(9, 40)), 120);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}

} // namespace
} // namespace glimmer
