#include "card/MinimalSlider.h"
#include "ui/TestApplication.h"

#include <QImage>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

// The card's slider: 18 pt wide in its 26 pt gutter, 120 pt tall.
const QSizeF sliderSize(18, 120);

TEST(MinimalSliderGeometry, MinimumAtTheBottomMaximumAtTheTopOfAFivePointTrack) {
    EXPECT_EQ(MinimalSlider::trackRect(sliderSize), QRectF(6.5, 8, 5, 104));
    // A slider too short for its margins keeps a one-point track rather than none.
    EXPECT_EQ(MinimalSlider::trackRect(QSizeF(18, 10)).height(), 1);
    EXPECT_DOUBLE_EQ(MinimalSlider::knobY(sliderSize, MinimalSlider::fraction(0.25, 0.25, 1)), 112);
    EXPECT_DOUBLE_EQ(MinimalSlider::knobY(sliderSize, MinimalSlider::fraction(0.625, 0.25, 1)), 60);
    // Values and pointers outside the range stay on the track.
    EXPECT_DOUBLE_EQ(MinimalSlider::fraction(0.1, 0.25, 1), 0);
    EXPECT_DOUBLE_EQ(MinimalSlider::fraction(1.5, 0.25, 1), 1);
    EXPECT_DOUBLE_EQ(MinimalSlider::valueAt(-40, sliderSize, 0.25, 1), 1);
    EXPECT_DOUBLE_EQ(MinimalSlider::valueAt(400, sliderSize, 0.25, 1), 0.25);
    // Equal or reversed bounds divide by a tiny range instead of zero.
    EXPECT_DOUBLE_EQ(MinimalSlider::fraction(0.5, 0.5, 0.5), 0);
    EXPECT_NEAR(MinimalSlider::fraction(0.50005, 0.5, 0.5), 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(MinimalSlider::fraction(0.5, 0.5, 0.4), 0);
    EXPECT_DOUBLE_EQ(MinimalSlider::valueAt(8, sliderSize, 0.5, 0.5), 0.5);
}

class MinimalSliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        slider.resize(sliderSize.toSize());
        slider.onChange = [this](double value) { changes.push_back(value); };
        slider.onCommit = [this] { ++commits; };
    }

    QImage render() {
        QImage image(slider.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        slider.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    // The widget needs the application, which must exist before the member is built.
    bool hasApplication = (testing::ensureApplication(), true);
    MinimalSlider slider;
    std::vector<double> changes;
    int commits = 0;
};

TEST_F(MinimalSliderTest, LeftPressAndDragReportEveryValueAndReleaseCommitsOnce) {
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
}

TEST_F(MinimalSliderTest, DrawsTheKnobWhereTheValueIsAndFillsBelowIt) {
    slider.setValue(1.0);
    QImage image = render();
    // Knob at the top of the track, and the filled part below it reaching the bottom.
    EXPECT_GT(qGray(image.pixel(9, 8)), 200);
    EXPECT_GT(qGray(image.pixel(9, 100)), 200);

    slider.setMinValue(0.5);
    slider.setMaxValue(0.5);
    slider.setValue(0.5);
    image = render();
    // Equal bounds: knob at the bottom, the track above it unfilled (dim).
    EXPECT_GT(qGray(image.pixel(9, 112)), 200);
    EXPECT_LT(qGray(image.pixel(9, 40)), 120);
    // Outside the background capsule nothing is painted.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}

} // namespace
} // namespace glimmer
