#include "card/Theme.h"
#include "ChartTestSupport.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

TEST(ThemeFlowString, UsesYiAboveOneHundredMillionAndWanAboveTenThousand) {
    EXPECT_EQ(Theme::flowString(-123456789), QStringLiteral("-1.23亿"));
    EXPECT_EQ(Theme::flowString(99999), QStringLiteral("10万"));
    EXPECT_EQ(Theme::flowString(-56000), QStringLiteral("-6万"));
    EXPECT_EQ(Theme::flowString(9999), QStringLiteral("9999"));
    EXPECT_EQ(Theme::flowString(10000), QStringLiteral("1万"));
    EXPECT_EQ(Theme::flowString(-0.0), QStringLiteral("0"));
}

TEST(ThemeColours, RedMeansUpGreenMeansDownAndOnlyTheFirstAverageFollowsTheAppearance) {
    for (bool dark : {false, true}) {
        const QColor up = Theme::up().resolve(dark);
        const QColor down = Theme::down().resolve(dark);
        EXPECT_GT(up.red(), up.green() * 2) << dark;
        EXPECT_GT(down.green(), down.red() * 2) << dark;
    }
    EXPECT_LT(Theme::cardBackground().resolve(true).lightness(), 40);
    EXPECT_GT(Theme::cardBackground().resolve(false).lightness(), 200);
    // Near-black on light, near-white on dark; indices beyond the list take the last colour.
    EXPECT_LT(Theme::maColor(0).resolve(false).lightness(), 60);
    EXPECT_GT(Theme::maColor(0).resolve(true).lightness(), 230);
    EXPECT_EQ(Theme::maColor(11).resolve(false), Theme::maColors().back().resolve(false));
}

// Dark and light through the window flag: the chart render tests.
TEST(ThemeMode, SystemModeClearsTheWindowFlag) {
    testing::ensureApplication();
    QWidget window;
    QWidget child(&window);
    Theme::applyMode(&window, ThemeMode::dark);
    Theme::applyMode(&window, ThemeMode::system);
    EXPECT_EQ(Theme::isDark(&child), Theme::systemIsDark());
}

} // namespace
} // namespace glimmer
