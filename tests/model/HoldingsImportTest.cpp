#include "model/AppPaths.h"
#include "model/ConfigStore.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace glimmer {
namespace {

using testing::TempDir;

class HoldingsImportTest : public ::testing::Test {
protected:
    void makeDatabase(const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
        sqlite3_close(db);
    }

    TempDir dir;
    std::filesystem::path path = dir / "portfolio.sqlite";
};

TEST_F(HoldingsImportTest, KindFollowsTypeAndCodePrefixInRowOrder) {
    makeDatabase("CREATE TABLE holdings(id INTEGER PRIMARY KEY, code TEXT, name TEXT, type TEXT);"
                 "INSERT INTO holdings VALUES (4, '159915', '创业板ETF', NULL), (2, '600519', '贵州茅台', 'Stock'),"
                 "(3, '510300', '沪深300ETF', 'stock'), (5, '000001', NULL, 'stock'), (6, NULL, '无代码', 'stock'),"
                 "(7, ' 600036', '招商银行 ', 'Bond ETF'), (8, '600519', '贵州茅台', 'STOCK');");
    const auto items = ConfigStore::importHoldings(path);
    // The code prefix wins over the type; a NULL type counts as stock; no trimming; duplicates stay.
    EXPECT_EQ(items, (std::vector<WatchItem>{{"600519", "贵州茅台"},
                                             {"510300", "沪深300ETF", InstrumentKind::etf},
                                             {"159915", "创业板ETF", InstrumentKind::etf},
                                             {" 600036", "招商银行 ", InstrumentKind::etf},
                                             {"600519", "贵州茅台"}}));
}

TEST_F(HoldingsImportTest, ShareAndCostColumnsComeAlongWhenTheTableHasThem) {
    makeDatabase("CREATE TABLE holdings(id INTEGER PRIMARY KEY, code TEXT, name TEXT, type TEXT, Quantity,"
                 " avg_cost, cost TEXT);"
                 "INSERT INTO holdings VALUES (1, '600519', '贵州茅台', 'stock', 300, 1400.5, 'x'),"
                 "(2, '510300', '沪深300ETF', 'etf', '12300', '3.9125', NULL), (3, '600036', '招商银行', 'stock', NULL,"
                 "NULL, NULL), (4, '000001', '平安银行', 'stock', -5, 0, NULL), (5, '000002', '万科A', 'stock', 10.5,"
                 "'12,5', NULL);");
    // avg_cost is preferred to cost; numbers may be stored as text; empty or unusable values are left out.
    std::vector<std::pair<std::optional<std::int64_t>, std::optional<double>>> holdings;
    for (const WatchItem& item : ConfigStore::importHoldings(path)) holdings.emplace_back(item.shares, item.cost);
    EXPECT_EQ(holdings, (decltype(holdings){{300, 1400.5}, {12300, 3.9125}, {}, {}, {}}));

    std::filesystem::remove(path);
    makeDatabase("CREATE TABLE holdings(id INTEGER PRIMARY KEY, code TEXT, name TEXT, type TEXT, note TEXT);"
                 "INSERT INTO holdings VALUES (1, '600519', '贵州茅台', 'stock', '300');");
    EXPECT_EQ(ConfigStore::importHoldings(path), std::vector<WatchItem>{(WatchItem{"600519", "贵州茅台"})});
}

TEST_F(HoldingsImportTest, AnyFailureImportsNothingAndAFirstStartSeedsTheWatchListFromTheTable) {
    EXPECT_TRUE(ConfigStore::importHoldings(path).empty()) << "missing file";

    makeDatabase("CREATE TABLE positions(id INTEGER, code TEXT);");
    EXPECT_TRUE(ConfigStore::importHoldings(path).empty()) << "no holdings table";

    testing::writeFile(path, "SQLite format 3\0 but then nothing sensible at all, just words");
    EXPECT_TRUE(ConfigStore::importHoldings(path).empty()) << "corrupt file";

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_TRUE(ConfigStore::importHoldings(path).empty()) << "a folder";

    path = ConfigStore::holdingsDatabasePath();
    std::filesystem::create_directories(path.parent_path());
    makeDatabase("CREATE TABLE holdings(id INTEGER PRIMARY KEY, code TEXT, name TEXT, type TEXT);"
                 "INSERT INTO holdings VALUES (1, '601318', '中国平安', 'stock');");
    AppPaths::overrideAppSupportDir(dir / "Glimmerbox");
    EXPECT_EQ(ConfigStore::load().watchlist, std::vector<WatchItem>{(WatchItem{"601318", "中国平安"})});
    std::filesystem::remove(path);
}

} // namespace
} // namespace glimmer
