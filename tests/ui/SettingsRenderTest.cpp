#include "settings/SettingsRootView.h"
#include "settings/WatchlistSection.h"
#include "ui/SettingsTestSupport.h"
#include "ui/TestApplication.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

// Labels that do not wrap must get at least the width their text needs.
std::vector<std::string> clippedLabels(QWidget& window) {
    std::vector<std::string> clipped;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->wordWrap() || label->text().isEmpty()) continue;
        if (label->width() < label->sizeHint().width())
            clipped.push_back(label->text().toStdString() + " (" + std::to_string(label->width()) + " < " +
                              std::to_string(label->sizeHint().width()) + ")");
    }
    return clipped;
}

class SettingsRenderTest : public ::testing::TestWithParam<ThemeMode> {};

TEST_P(SettingsRenderTest, NoLabelIsCutAtTheDefaultOrTheMinimumWidthAndTheCardsStandOut) {
    AppConfig config = testing::livedInConfig();
    config.themeMode = GetParam();
    config.sound.customFilePath = "/Users/li/Music/提醒音.m4a";
    config.watchlist[0].shares = 300;
    config.watchlist[0].cost = 1400.5;
    config.watchlist[2].shares = 123000;
    testing::SettingsHarness harness(config, [](const std::string&) {
        return std::vector<SymbolHit>{{"601318", "中国平安", InstrumentKind::stock},
                                      {"601319", "中国人保", InstrumentKind::stock},
                                      {"512880", "证券ETF", InstrumentKind::etf}};
    });
    SettingsWindow& window = harness.window();
    WatchlistSection& watchlist = *harness.root().watchlistSection();
    window.show();
    ASSERT_TRUE(testing::waitForExposed(window));
    watchlist.codeField()->insert(QStringLiteral("中国"));
    ASSERT_TRUE(testing::waitUntil([&] { return !watchlist.hits().empty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(clippedLabels(window), std::vector<std::string>{});

    window.resize(window.minimumSize());
    QCoreApplication::processEvents();
    EXPECT_EQ(clippedLabels(window), std::vector<std::string>{});
    // Nothing sticks out sideways: the column fits the narrowest window.
    EXPECT_LE(harness.root().widget()->minimumSizeHint().width(), harness.root().viewport()->width());

    window.resize(660, harness.root().widget()->sizeHint().height());
    QCoreApplication::processEvents();
    const QImage image = window.grab().toImage();
    const QColor background = image.pixelColor(4, 4);
    EXPECT_NE(background, image.pixelColor(30, 30));
    EXPECT_EQ(background.lightness() < 128, GetParam() == ThemeMode::dark);
    EXPECT_TRUE(harness.saves.empty());
}

INSTANTIATE_TEST_SUITE_P(Themes, SettingsRenderTest, ::testing::Values(ThemeMode::light, ThemeMode::dark),
                         [](const auto& info) { return info.param == ThemeMode::dark ? "Dark" : "Light"; });

} // namespace
} // namespace glimmer
