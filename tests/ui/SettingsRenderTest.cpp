#include "settings/SettingsRootView.h"
#include "settings/SymbolSuggester.h"
#include "settings/WatchlistSection.h"
#include "ui/SettingsTestSupport.h"
#include "ui/TestApplication.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace glimmer {
namespace {

using testing::SettingsHarness;

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

class SettingsRenderTest : public ::testing::TestWithParam<ThemeMode> {
protected:
    void SetUp() override {
        AppConfig config = testing::livedInConfig();
        config.themeMode = GetParam();
        config.sound.customFilePath = "/Users/li/Music/提醒音.m4a";
        config.watchlist[0].shares = 300;
        config.watchlist[0].cost = 1400.5;
        config.watchlist[2].shares = 123000;
        harness = std::make_unique<SettingsHarness>(config, [](const std::string&) {
            return std::vector<SymbolHit>{{"601318", "中国平安", InstrumentKind::stock},
                                          {"601319", "中国人保", InstrumentKind::stock},
                                          {"512880", "证券ETF", InstrumentKind::etf}};
        });
        WatchlistSection& watchlist = *harness->root().watchlistSection();
        harness->window().show();
        ASSERT_TRUE(testing::waitForExposed(harness->window()));
        watchlist.codeField()->insert(QStringLiteral("中国"));
        ASSERT_TRUE(testing::waitUntil([&] { return !watchlist.hits().empty(); }));
        QCoreApplication::processEvents();
    }

    void save(const QImage& image, const std::string& name) {
        const char* folder = std::getenv("GLIMMER_SETTINGS_ARTIFACTS");
        if (!folder || !*folder) return;
        std::filesystem::create_directories(folder);
        const std::string mode = GetParam() == ThemeMode::dark ? "dark" : "light";
        image.save(QString::fromStdString((std::filesystem::path(folder) / (name + "-" + mode + ".png")).string()));
    }

    std::unique_ptr<SettingsHarness> harness;
};

TEST_P(SettingsRenderTest, NoLabelIsCutAtTheDefaultOrTheMinimumWidth) {
    SettingsWindow& window = harness->window();
    EXPECT_EQ(clippedLabels(window), std::vector<std::string>{});
    save(window.grab().toImage(), "settings-window");

    window.resize(window.minimumSize());
    QCoreApplication::processEvents();
    EXPECT_EQ(clippedLabels(window), std::vector<std::string>{});
    // Nothing sticks out sideways: the column fits the narrowest window.
    EXPECT_LE(harness->root().widget()->minimumSizeHint().width(), harness->root().viewport()->width());

    // The whole column at once, for looking at every card.
    const int full = harness->root().widget()->sizeHint().height();
    window.resize(660, full);
    QCoreApplication::processEvents();
    const QImage image = window.grab().toImage();
    save(image, "settings-full");

    // The cards stand out from the window background in either theme.
    const QColor background = image.pixelColor(4, 4);
    const QColor card = image.pixelColor(30, 30);
    EXPECT_NE(background, card);
    EXPECT_EQ(background.lightness() < 128, GetParam() == ThemeMode::dark);
    EXPECT_TRUE(harness->saves.empty());
}

INSTANTIATE_TEST_SUITE_P(Themes, SettingsRenderTest, ::testing::Values(ThemeMode::light, ThemeMode::dark),
                         [](const auto& info) { return info.param == ThemeMode::dark ? "Dark" : "Light"; });

} // namespace
} // namespace glimmer
