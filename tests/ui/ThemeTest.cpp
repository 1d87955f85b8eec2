#include "card/Theme.h"
#include "ChartTestSupport.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

TEST(ThemeFlowString, UsesYiAboveOneHundredMillionAndWanAboveTenThousand) {
    EXPECT_EQ(Theme::flowString(-123456789), QStringLiteral("-1.23亿"));
    EXPECT_EQ(Theme::flowString(320000000), QStringLiteral("3.20亿"));
    EXPECT_EQ(Theme::flowString(99999), QStringLiteral("10万"));
    EXPECT_EQ(Theme::flowString(-56000), QStringLiteral("-6万"));
    EXPECT_EQ(Theme::flowString(9999), QStringLiteral("9999"));
    EXPECT_EQ(Theme::flowString(10000), QStringLiteral("1万"));
    EXPECT_EQ(Theme::flowString(0), QStringLiteral("0"));
    EXPECT_EQ(Theme::flowString(-0.0), QStringLiteral("0"));
}

TEST(ThemeColours, RedMeansUpAndGreenMeansDownInBothAppearances) {
    for (bool dark : {false, true}) {
        const QColor up = Theme::up().resolve(dark);
        const QColor down = Theme::down().resolve(dark);
        EXPECT_GT(up.red(), up.green() * 2) << dark;
        EXPECT_GT(down.green(), down.red() * 2) << dark;
    }
}

TEST(ThemeColours, DarkVariantsDifferAndTheAccentDoesNot) {
    EXPECT_NE(Theme::textPrimary().resolve(false), Theme::textPrimary().resolve(true));
    EXPECT_LT(Theme::cardBackground().resolve(true).lightness(), 40);
    EXPECT_GT(Theme::cardBackground().resolve(false).lightness(), 200);
    EXPECT_EQ(Theme::accent().resolve(false), Theme::accent().resolve(true));
}

TEST(ThemeColours, MovingAverageIndicesBeyondTheListTakeTheLastColour) {
    EXPECT_EQ(&Theme::maColor(6), &Theme::maColors()[6]);
    EXPECT_EQ(&Theme::maColor(11), &Theme::maColors()[6]);
    // Only the first average follows the appearance: near-black on light, near-white on dark.
    EXPECT_LT(Theme::maColor(0).resolve(false).lightness(), 60);
    EXPECT_GT(Theme::maColor(0).resolve(true).lightness(), 230);
    EXPECT_EQ(Theme::maColor(3).resolve(false), Theme::maColor(3).resolve(true));
}

TEST(ThemeMode, WindowFlagDecidesTheVariantAndSystemModeFollowsThePlatform) {
    testing::ensureChartApplication();
    QWidget window;
    QWidget child(&window);
    Theme::applyMode(&window, ThemeMode::dark);
    EXPECT_TRUE(Theme::isDark(&child));
    Theme::applyMode(&window, ThemeMode::light);
    EXPECT_FALSE(Theme::isDark(&child));
    Theme::applyMode(&window, ThemeMode::system);
    EXPECT_EQ(Theme::isDark(&child), Theme::systemIsDark());
    EXPECT_EQ(Theme::isDark(nullptr), Theme::systemIsDark());
}

} // namespace
} // namespace glimmer
