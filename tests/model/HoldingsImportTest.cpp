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
                 "INSERT INTO holdings VALUES (4, '159915', '创业板ETF', NULL);"
                 "INSERT INTO holdings VALUES (2, '600519', '贵州茅台', 'Stock');"
                 "INSERT INTO holdings VALUES (3, '510300', '沪深300ETF', 'stock');"
                 "INSERT INTO holdings VALUES (5, '000001', NULL, 'stock');"
                 "INSERT INTO holdings VALUES (6, NULL, '无代码', 'stock');"
                 "INSERT INTO holdings VALUES (7, ' 600036', '招商银行 ', 'Bond ETF');"
                 "INSERT INTO holdings VALUES (8, '600519', '贵州茅台', 'STOCK');");
    const auto items = ConfigStore::importHoldings(path);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0], (WatchItem{"600519", "贵州茅台", InstrumentKind::stock}));
    EXPECT_EQ(items[1], (WatchItem{"510300", "沪深300ETF", InstrumentKind::etf})) << "the code prefix wins";
    EXPECT_EQ(items[2], (WatchItem{"159915", "创业板ETF", InstrumentKind::etf})) << "NULL type counts as stock";
    EXPECT_EQ(items[3], (WatchItem{" 600036", "招商银行 ", InstrumentKind::etf})) << "no trimming";
    EXPECT_EQ(items[4].code, "600519") << "duplicates stay";
}

TEST_F(HoldingsImportTest, ShareAndCostColumnsComeAlongWhenTheTableHasThem) {
    makeDatabase("CREATE TABLE holdings(id INTEGER PRIMARY KEY, code TEXT, name TEXT, type TEXT, Quantity,"
                 " avg_cost, cost TEXT);"
                 "INSERT INTO holdings VALUES (1, '600519', '贵州茅台', 'stock', 300, 1400.5, 'x');"
                 "INSERT INTO holdings VALUES (2, '510300', '沪深300ETF', 'etf', '12300', '3.9125', NULL);"
                 "INSERT INTO holdings VALUES (3, '600036', '招商银行', 'stock', NULL, NULL, NULL);"
                 "INSERT INTO holdings VALUES (4, '000001', '平安银行', 'stock', -5, 0, NULL);"
                 "INSERT INTO holdings VALUES (5, '000002', '万科A', 'stock', 10.5, '12,5', NULL);");
    const auto items = ConfigStore::importHoldings(path);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].shares, 300);
    EXPECT_EQ(items[0].cost, 1400.5) << "avg_cost is preferred to cost";
    EXPECT_EQ(items[1].shares, 12300) << "numbers stored as text";
    EXPECT_EQ(items[1].cost, 3.9125);
    for (std::size_t i = 2; i < items.size(); ++i) {
        EXPECT_FALSE(items[i].shares || items[i].cost) << items[i].code << ": empty or unusable values";
    }

    // A table without such columns imports the securities alone.
    std::filesystem::remove(path);
    makeDatabase("CREATE TABLE holdings(id INTEGER PRIMARY KEY, code TEXT, name TEXT, type TEXT, note TEXT);"
                 "INSERT INTO holdings VALUES (1, '600519', '贵州茅台', 'stock', '300');");
    const auto plain = ConfigStore::importHoldings(path);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0], (WatchItem{"600519", "贵州茅台", InstrumentKind::stock}));
}

TEST_F(HoldingsImportTest, AnyFailureImportsNothing) {
    EXPECT_TRUE(ConfigStore::importHoldings(path).empty()) << "missing file";

    makeDatabase("CREATE TABLE positions(id INTEGER, code TEXT);");
    EXPECT_TRUE(ConfigStore::importHoldings(path).empty()) << "no holdings table";

    testing::writeFile(path, "SQLite format 3\0 but then nothing sensible at all, just words");
    EXPECT_TRUE(ConfigStore::importHoldings(path).empty()) << "corrupt file";

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_TRUE(ConfigStore::importHoldings(path).empty()) << "a folder";
}

} // namespace
} // namespace glimmer
