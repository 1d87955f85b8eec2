#include "card/ViewSequence.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using namespace ViewSequence;
using Views = std::vector<int>;

TEST(ViewSequence, KeepsDotOrderWithVolumeBeforeDailyCandles) {
    EXPECT_EQ(enabledViewIndices({3, 4, 2, 1, 0}), (Views{0, 1, 2, 4, 3}));
    EXPECT_EQ(enabledViewIndices({3, 0, 1}), (Views{0, 1, 3}));
    EXPECT_EQ(enabledViewIndices({}), (Views{0, 1, 2, 4, 3}));
    // Indices that name no chart are not views.
    EXPECT_EQ(enabledViewIndices({7, -1, 4}), (Views{4}));
}

TEST(ViewSequence, ModeAfterCurrentStopsAtTheEndSoThePresenterSwitchesSecurity) {
    const Views seq = enabledViewIndices({0, 1, 3});
    EXPECT_EQ(modeAfterCurrent(0, seq), 1);
    EXPECT_EQ(modeAfterCurrent(1, seq), 3);
    EXPECT_EQ(modeAfterCurrent(3, seq), std::nullopt);

    const Views all = enabledViewIndices({0, 1, 2, 3, 4});
    EXPECT_EQ(modeAfterCurrent(4, all), 3);
    EXPECT_EQ(modeAfterCurrent(3, all), std::nullopt);
    EXPECT_EQ(modeAfterCurrent(2, enabledViewIndices({0, 1, 2, 3})), 3);

    EXPECT_EQ(modeAfterCurrent(2, Views{2}), std::nullopt);
    EXPECT_EQ(modeAfterCurrent(0, Views{}), std::nullopt);
    // A view outside the sequence starts it over.
    EXPECT_EQ(modeAfterCurrent(2, seq), 0);
}

TEST(ViewSequence, NextEnabledModeWrapsForClicks) {
    const Views seq = enabledViewIndices({0, 1, 3});
    EXPECT_EQ(nextEnabledMode(3, seq), 0);
    EXPECT_EQ(nextEnabledMode(1, seq), 3);
    EXPECT_EQ(nextEnabledMode(4, seq), 0);
    EXPECT_EQ(nextEnabledMode(2, Views{2}), 2);
    EXPECT_EQ(nextEnabledMode(2, Views{}), 0);
}

TEST(ViewSequence, StepModeWrapsBothWaysFromAnyDistance) {
    EXPECT_EQ(stepMode(0, {0, 1, 2}, -1), 2);
    EXPECT_EQ(stepMode(2, {0, 1, 2}, +1), 0);
    EXPECT_EQ(stepMode(9, {0, 1, 2}, +1), 1); // absent counts as the first position
    EXPECT_EQ(stepMode(0, {}, 1), std::nullopt);
    // Steps longer than the list still land inside it.
    EXPECT_EQ(stepMode(0, {0, 1, 2}, -4), 2);
    EXPECT_EQ(stepMode(1, {0, 1, 2}, 7), 2);
}

TEST(ViewSequence, LabelsNameEachChart) {
    EXPECT_STREQ(label(0), "分时");
    EXPECT_STREQ(label(2), "资金流");
    EXPECT_STREQ(label(3), "日K");
    EXPECT_STREQ(label(4), "量能");
    EXPECT_STREQ(label(5), "");
}

} // namespace
} // namespace glimmer
