#include "app/Rotation.h"
#include "app/PanelFrames.h"
#include "app/StatusBarController.h"
#include "support/CommaLocale.h"
#include "ui/AppTestSupport.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

using testing::quotedEntry;

TEST(Rotation, SwitchingSkipsHiddenSecuritiesWrapsBothWaysAndStaysWithoutAnotherVisible) {
    const std::vector<MarketEntry> entries{quotedEntry("600519", "贵州茅台", 1500, 1490),
                                           quotedEntry("300750", "宁德时代", 234, 230),
                                           quotedEntry("510300", "沪深300ETF", 3.9, 3.88)};
    const std::vector<std::string> one{"300750"}, two{"300750", "510300"}, all{"600519", "300750", "510300"};
    EXPECT_EQ(Rotation::switchTarget(0, 1, entries, one), 2);
    EXPECT_EQ(Rotation::switchTarget(2, 1, entries, one), 0);
    EXPECT_EQ(Rotation::switchTarget(0, -1, entries, one), 2);
    EXPECT_EQ(Rotation::switchTarget(0, 1000001, entries, one), 2) << "a huge delta still wraps";
    EXPECT_EQ(Rotation::switchTarget(0, -7, entries, {}), 2);
    // The card's security is hidden: its position counts as 0, so +1 lands on the second visible one.
    EXPECT_EQ(Rotation::switchTarget(1, 1, entries, one), 2);
    EXPECT_EQ(Rotation::switchTarget(7, 1, entries, {}), 0) << "an index past the end reads the last entry";
    EXPECT_EQ(Rotation::switchTarget(0, 1, entries, two), std::nullopt);
    EXPECT_EQ(Rotation::switchTarget(0, 1, entries, all), std::nullopt);
    EXPECT_EQ(Rotation::switchTarget(0, 1, {}, {}), std::nullopt);

    EXPECT_EQ(Rotation::indexSkippingHidden(1, entries, one), 2);
    EXPECT_EQ(Rotation::indexSkippingHidden(2, entries, {"510300"}), 0);
    EXPECT_EQ(Rotation::indexSkippingHidden(1, entries, all), 1);
    EXPECT_EQ(Rotation::indexSkippingHidden(3, entries, {}), 0) << "one past the end";
    EXPECT_EQ(Rotation::indexSkippingHidden(-3, entries, {}), 0);
    EXPECT_EQ(Rotation::indexSkippingHidden(2, {}, {}), 0);
    EXPECT_EQ(Rotation::clampedIndex(3, 3), 2);
    EXPECT_EQ(Rotation::clampedIndex(5, 0), 0);

    const std::vector<ChartView> sequence{intraday, macd, dailyCandles};
    EXPECT_EQ(Rotation::startView(dailyCandles, intraday, {intraday}), dailyCandles) << "a lock wins";
    EXPECT_EQ(Rotation::startView(std::nullopt, macd, sequence), macd);
    EXPECT_EQ(Rotation::startView(std::nullopt, volume, sequence), intraday);
    EXPECT_EQ(Rotation::startView(std::nullopt, volume, {}), intraday);
    EXPECT_EQ(Rotation::effectiveLock(volume, sequence), std::nullopt) << "a lock outside the sequence is dropped";
    EXPECT_EQ(Rotation::effectiveLock(dailyCandles, sequence), dailyCandles);
}

TEST(PanelFrames, StartsInTheCornerOrAtTheSavedOriginOrDockedAndResizesFromTheBottomRight) {
    const std::vector<Screen> screens{{{0, 0, 1440, 900}, {0, 0, 1440, 875}}};
    const Rect corner{1048, 12, 376, 242};
    const std::pair<AppConfig, Rect> cases[] = {
        {{}, corner},
        {{.originX = 200, .originY = 300}, {200, 300, 376, 242}},
        {{.originX = 5000, .originY = 300}, corner}, // the screen it was on is gone
        {{.originX = 200}, corner},                  // half an origin is no origin
        {{.originX = 600, .originY = 300, .dockPinned = true, .dockSide = DockSide::left}, {0, 300, 376, 242}},
        {{.originX = 600, .originY = 300, .dockPinned = true, .dockSide = DockSide::right}, {1064, 300, 376, 242}},
    };
    for (const auto& [config, frame] : cases) EXPECT_EQ(PanelFrames::startFrame(config, screens), frame);
    EXPECT_EQ(PanelFrames::startFrame({}, {}), corner) << "no screen: 1440 x 900";
    EXPECT_EQ(PanelFrames::resizedFrame(corner, 400, 250), (Rect{998, 12, 426, 276}));
}

TEST(StatusText, LongNamesAreCutToFourCharactersAndChangesAlwaysSigned) {
    EXPECT_EQ(StatusBarController::securityText(quotedEntry("512880", "证券ETF基金", 1.01, 1.0)), "证券ET +1.00%");
    EXPECT_EQ(StatusBarController::securityText(quotedEntry("600519", "贵州茅台", 99, 100)), "贵州茅台 -1.00%");
    EXPECT_EQ(StatusBarController::securityText(quotedEntry("600519", "贵州茅台", 10, 0)), "贵州茅台 +0.00%");
    EXPECT_EQ(StatusBarController::securityText(MarketEntry(WatchItem{"600519", "", InstrumentKind::stock})), "澜汐");
    EXPECT_EQ(StatusBarController::securityText(std::nullopt), "澜汐");

    testing::CommaLocale german;
    ASSERT_TRUE(german.isActive()) << "localedef could not build " << testing::CommaLocale::name;
    EXPECT_EQ(StatusBarController::securityText(quotedEntry("600519", "贵州茅台", 101.5, 100)), "贵州茅台 +1.50%")
        << "a decimal point under a comma locale";
}

} // namespace
} // namespace glimmer
