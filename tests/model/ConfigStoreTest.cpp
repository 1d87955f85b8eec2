#include "model/ConfigStore.h"
#include "doubles/ManualClock.h"
#include "model/AppPaths.h"
#include "model/ConfigJson.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace glimmer {
namespace {

using nlohmann::json;
using namespace testing;
using HoldingPairs = std::vector<std::pair<std::optional<std::int64_t>, std::optional<double>>>;

class ConfigStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppPaths::overrideAppSupportDir(dir / "Glimmerbox");
        clock.setChinaTime(2026, 3, 9, 10, 15, 42);
        clock.setLocalUtcOffset(8 * 3600);
        ConfigStore::setClock(&clock);
    }
    void TearDown() override { ConfigStore::setClock(nullptr); }

    std::filesystem::path configPath() const { return dir / "Glimmerbox" / "config.json"; }
    void writeConfig(const std::string& text) const { writeFile(configPath(), text); }
    // A file of this version (no migration runs) with these keys besides.
    void writeCurrent(const std::string& keys) const {
        writeConfig(R"({"viewRotateSeconds": 5, "volumeViewAdded": true, "didImportHoldings": true, )" + keys + "}");
    }
    std::string eventLog() const { return readFile(dir / "Glimmerbox" / "events.log"); }
    json storedTree() const { return json::parse(readFile(configPath())); }
    std::vector<std::filesystem::path> brokenCopies() const {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "Glimmerbox")) {
            if (entry.path().filename().string().rfind("config.json.broken-", 0) == 0) found.push_back(entry.path());
        }
        return found;
    }

    TempDir dir;
    ManualClock clock;
};

TEST_F(ConfigStoreTest, FirstStartWritesDefaultsWithTheBuiltInWatchlist) {
    const AppConfig config = ConfigStore::load();
    EXPECT_EQ(std::tuple(config.watchlist, config.didImportHoldings, config.volumeViewAdded),
              std::tuple(ConfigStore::builtInWatchlist(), true, false));
    EXPECT_EQ(storedTree()["watchlist"].size(), 3u) << "saved at once";
    EXPECT_EQ(storedTree()["width"].dump(), "350") << "whole doubles are written as integers";

    // The next start runs only the volume-view migration, which leaves an existing 4 alone.
    const AppConfig second = ConfigStore::load();
    EXPECT_TRUE(second.volumeViewAdded);
    EXPECT_EQ(second.enabledViews, (std::vector<ChartView>{ChartViews::order.begin(), ChartViews::order.end()}));
    EXPECT_EQ(storedTree()["enabledViews"], json({0, 1, 2, 4, 3}));
    EXPECT_TRUE(storedTree()["volumeViewAdded"].get<bool>());
}

TEST_F(ConfigStoreTest, FileIsPrettyPrintedWithSortedKeysAndRoundTrips) {
    const PriceAlert alert{.code = "000001", .direction = PriceAlertDirection::below, .price = 10.25, .note = "补仓"};
    const AppConfig config{.originX = 120.5,
                           .originY = 33,
                           .dockSide = DockSide::left,
                           .watchlist = {{"000001", "平安银行"}},
                           .lockedViewType = ChartView::dailyCandles,
                           .volumeViewAdded = true,
                           .alerts = {.priceAlerts = {alert}},
                           .didImportHoldings = true};
    ASSERT_TRUE(ConfigStore::save(config));

    const std::string text = readFile(configPath());
    EXPECT_NE(text.find("\n  \"alerts\": {"), std::string::npos) << text.substr(0, 200);
    EXPECT_LT(text.find("\"alerts\""), text.find("\"alwaysOnTop\""));
    EXPECT_NE(text.find(alert.id.string()), std::string::npos) << "upper-case 36-character UUID";
    EXPECT_EQ(ConfigStore::load(), config);
}

TEST_F(ConfigStoreTest, ASaveReplacesTheWholeFileAtOnceAndClearsWhatAKilledSaveLeftBehind) {
    AppConfig config{.themeMode = ThemeMode::light, .volumeViewAdded = true, .didImportHoldings = true};
    ASSERT_TRUE(ConfigStore::save(config));
    EXPECT_EQ(ConfigStore::load(), config);
    std::ifstream old(configPath(), std::ios::binary); // a reader of the old file keeps reading it
    writeFile(dir / "Glimmerbox" / "config.json.tmp-999999", "{\"width\": ");
    config.themeMode = ThemeMode::dark;
    ASSERT_TRUE(ConfigStore::save(config));
    EXPECT_EQ(ConfigStore::load(), config);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(old), {}).find("\"light\""), std::string::npos);
    for (const auto& entry : std::filesystem::directory_iterator(dir / "Glimmerbox"))
        EXPECT_FALSE(entry.path().filename().string().starts_with("config.json.")) << entry.path();
}

TEST_F(ConfigStoreTest, RotationMigrationAndSeedingOfAnOlderFile) {
    writeConfig("{}");
    const AppConfig config = ConfigStore::load();
    EXPECT_EQ(config.watchlist, ConfigStore::builtInWatchlist());
    EXPECT_TRUE(config.didImportHoldings && config.volumeViewAdded);
    EXPECT_EQ(storedTree()["viewRotateSeconds"], 5);
    EXPECT_EQ(storedTree()["watchlist"].size(), 3u);

    writeConfig(R"({"autoRotateSeconds": 90, "volumeViewAdded": true, "didImportHoldings": true})");
    const AppConfig migrated = ConfigStore::load();
    EXPECT_EQ(std::pair(migrated.autoRotateSeconds, migrated.viewRotateSeconds), std::pair(25.0, 5.0))
        << "a stored stock interval is overridden once";
    EXPECT_TRUE(migrated.watchlist.empty()) << "a user who emptied the list keeps it empty";

    writeConfig(R"({"autoRotateSeconds": 90, "viewRotateSeconds": 0, "volumeViewAdded": true,
                    "didImportHoldings": true})");
    const AppConfig kept = ConfigStore::load();
    EXPECT_EQ(std::pair(kept.autoRotateSeconds, kept.viewRotateSeconds), std::pair(90.0, 0.0));
}

TEST_F(ConfigStoreTest, MissingKeysAtAnyDepthTakeTheirDefaultsAndUnknownOnesMayNestDeep) {
    writeCurrent(R"("sound": {"enabled": true},
                    "deeperFutureKey": [[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[{"y": 1}]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]])");
    const AppConfig config = ConfigStore::load();
    EXPECT_EQ(std::tuple(config.width, config.sound.enabled, config.sound.desktopNotifications),
              std::tuple(350.0, true, true))
        << "files from before the switch notify";
}

TEST_F(ConfigStoreTest, VolumeMigrationAppendsOnlyOnceAndUnknownViewNumbersAreDropped) {
    writeConfig(R"({"viewRotateSeconds": 5, "enabledViews": [0, 1], "didImportHoldings": true})");
    using enum ChartView;
    EXPECT_EQ(ConfigStore::load().enabledViews, (std::vector<ChartView>{intraday, macd, volume}));
    EXPECT_EQ(storedTree()["enabledViews"], json({0, 1, 4}));

    // Once offered, a user who removes the volume view keeps it removed.
    writeCurrent(R"("enabledViews": [2])");
    EXPECT_EQ(ConfigStore::load().enabledViews, (std::vector<ChartView>{fundFlow}));

    // View numbers that name no chart are dropped and the rest kept.
    writeCurrent(R"("width": 400, "enabledViews": [7, 1, -1, 3, 2147483647], "lockedViewType": 9)");
    const AppConfig config = ConfigStore::load();
    EXPECT_EQ(config.enabledViews, (std::vector<ChartView>{macd, dailyCandles}));
    EXPECT_FALSE(config.lockedViewType.has_value());
    EXPECT_EQ(config.width, 400);
    ASSERT_TRUE(ConfigStore::save(config));
    EXPECT_EQ(storedTree()["enabledViews"], json({1, 3}));
    EXPECT_FALSE(storedTree().contains("lockedViewType"));
}

TEST_F(ConfigStoreTest, ACardSizeThatCannotBeShownIsBroughtIntoRangeWithOneWarning) {
    struct Case {
        const char* stored;
        double width, height;
        const char* warning;
    };
    const Case cases[] = {
        {R"("width": 1e20, "height": -5)", 4096, 150, "卡片尺寸 100000000000000000000x-5 无法显示，改用 4096x150"},
        {R"("width": 100, "height": 5000)", 240, 4096, "卡片尺寸 100x5000 无法显示，改用 240x4096"},
        {R"("width": 240, "height": 4096)", 240, 4096, nullptr},
        {R"("width": 900, "height": 700)", 900, 700, nullptr},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(dir / "Glimmerbox" / "events.log");
        writeCurrent(c.stored);
        const AppConfig config = ConfigStore::load();
        EXPECT_EQ(std::pair(config.width, config.height), std::pair(c.width, c.height)) << c.stored;
        const std::string log = eventLog();
        EXPECT_TRUE(c.warning ? log.find(c.warning) != std::string::npos : log.empty()) << c.stored << log;
    }
}

TEST_F(ConfigStoreTest, UnusableHoldingsAreDroppedWithOneWarningAndTheRestKept) {
    writeCurrent(R"("width": 420, "watchlist": [
        {"code": "600519", "name": "贵州茅台", "kind": "stock", "shares": -300, "cost": 1400.5},
        {"code": "510300", "name": "沪深300ETF", "kind": "etf", "shares": 1000, "cost": "3.9"},
        {"code": "600036", "name": "招商银行", "kind": "stock", "shares": 10.5, "cost": null}])");
    const std::string text = readFile(configPath());
    const AppConfig config = ConfigStore::load();
    EXPECT_EQ(config.width, 420);
    HoldingPairs holdings;
    for (const WatchItem& item : config.watchlist) holdings.emplace_back(item.shares, item.cost);
    EXPECT_EQ(holdings, (HoldingPairs{{std::nullopt, 1400.5}, {1000, std::nullopt}, {std::nullopt, std::nullopt}}));
    EXPECT_EQ(readFile(configPath()), text) << "the load does not rewrite the file";

    const std::string log = eventLog();
    EXPECT_NE(log.find("WARN 配置文件中的持仓数值无效，已忽略：600519 持股、510300 成本、600036 持股\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
}

TEST_F(ConfigStoreTest, UndecodableFileGivesDefaultsAndIsKeptBeforeTheFirstSave) {
    const std::string userFile =
        R"({"width": "wide", "watchlist": [{"code": "600036", "name": "招商银行", "kind": "stock"}]})";
    writeConfig(userFile);
    const AppConfig config = ConfigStore::load();
    EXPECT_EQ(config, AppConfig{}) << "defaults with an empty watch list for this run";
    EXPECT_EQ(readFile(configPath()), userFile) << "the load does not rewrite the file";
    EXPECT_TRUE(brokenCopies().empty());

    AppConfig edited = config;
    edited.opacity = 0.8;
    ASSERT_TRUE(ConfigStore::save(edited));
    const std::filesystem::path copy = dir / "Glimmerbox" / "config.json.broken-20260309-101542";
    EXPECT_EQ(brokenCopies(), std::vector{copy});
    EXPECT_EQ(readFile(copy), userFile);
    EXPECT_EQ(storedTree()["opacity"], 0.8);

    // Later saves find a clean file and keep nothing more.
    ASSERT_TRUE(ConfigStore::save(edited));
    EXPECT_EQ(brokenCopies().size(), 1u);
}

TEST_F(ConfigStoreTest, WrongTypesAndUnknownEnumsFailTheWholeDecode) {
    const char* broken[] = {
        R"({"themeMode": "sepia"})",
        R"({"dockSide": "top"})",
        R"({"alerts": {"priceAlerts": [{"id": "not-a-uuid", "code": "1", "direction": "above", "price": 1,
                                         "enabled": true, "note": ""}]}})",
        R"({"alerts": {"priceAlerts": [{"id": "6F9619FF-8B86-D011-B42D-00C04FC964FF", "code": "1",
                                         "direction": "sideways", "price": 1, "enabled": true, "note": ""}]}})",
        R"({"hotkey": {"keyCode": -1}})",
        R"({"hotkey": {"modifiers": 4294967296}})",
        R"({"alwaysOnTop": 1})",
        R"({"enabledViews": [0, 1.5]})",
        R"({"hiddenCodes": [600519]})",
        R"({"alerts": []})",
        R"({"sound": {"volume": "loud"}})",
        R"({"opacity": null})",
    };
    for (const char* text : broken) {
        writeConfig(text);
        EXPECT_EQ(ConfigStore::load(), AppConfig{}) << text;
        EXPECT_EQ(readFile(configPath()), text);
    }
}

TEST_F(ConfigStoreTest, LenientWhereTheFileFormatAllowsIt) {
    writeCurrent(R"("mainFallingSamples": 9, "alerts": {"mainFallingSamples": 7.0,
                    "priceAlerts": [{"id": "6f9619ff-8b86-d011-b42d-00c04fc964ff", "code": "600519",
                    "direction": "below", "price": 1500, "enabled": false, "note": "x"}]},
                    "lockedViewType": null)");
    const AppConfig config = ConfigStore::load();
    EXPECT_EQ(config.alerts.mainFallingSamples, 7);
    ASSERT_EQ(config.alerts.priceAlerts.size(), 1u);
    EXPECT_EQ(config.alerts.priceAlerts[0].id.string(), "6F9619FF-8B86-D011-B42D-00C04FC964FF");
    EXPECT_FALSE(config.lockedViewType.has_value());
}

TEST_F(ConfigStoreTest, BytesThatAreNotAJsonObjectAreKeptAsideAndReplaced) {
    const std::string cases[] = {
        std::string(),
        std::string("\x00\x01\xff\xfe garbage", sizeof("\x00\x01\xff\xfe garbage") - 1),
        "[1, 2, 3]",
        // An unknown key nested two million deep: copying it along with the other keys would
        // overflow the stack on every start.
        "{\"x\": " + std::string(2000000, '[') + std::string(2000000, ']') + "}",
        "{\"width\": 1e999}",
    };
    for (const auto& content : cases) {
        writeConfig(content);
        const AppConfig config = ConfigStore::load();
        EXPECT_EQ(config.watchlist, ConfigStore::builtInWatchlist()) << content.substr(0, 20);
        EXPECT_TRUE(config.didImportHoldings && storedTree().is_object());
        clock.advance(1);
    }
    const auto copies = brokenCopies();
    ASSERT_EQ(copies.size(), std::size(cases));
    EXPECT_TRUE(std::ranges::any_of(copies, [&](const auto& copy) { return readFile(copy) == cases[1]; }))
        << "the user's bytes survive in the kept copy";

    // Two copies within one second get names of their own.
    writeConfig("not json");
    ConfigStore::load();
    writeConfig("still not json");
    ConfigStore::load();
    EXPECT_EQ(brokenCopies().size(), std::size(cases) + 2);
}

TEST_F(ConfigStoreTest, UnusableFolderStillLoadsAndSaveReportsFailure) {
    // A regular file where the folder should be: nothing can be created below it, even as root.
    writeFile(dir / "blocker", "not a folder");
    AppPaths::overrideAppSupportDir(dir / "blocker" / "Glimmerbox");
    EXPECT_EQ(ConfigStore::load().watchlist, ConfigStore::builtInWatchlist());
    EXPECT_FALSE(ConfigStore::save(AppConfig{}));
}

} // namespace
} // namespace glimmer
