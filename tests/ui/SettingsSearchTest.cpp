#include "settings/SettingsRootView.h"
#include "settings/SymbolSuggester.h"
#include "settings/WatchlistSection.h"
#include "ui/SettingsTestSupport.h"
#include "ui/TestApplication.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <stdexcept>

namespace glimmer {
namespace {

/// Symbol lookups answered from a table on the suggester's worker threads. The first one may be
/// held back until released, and any may fail as an unreachable service does.
struct FakeSearch {
    std::vector<SymbolHit> operator()(const std::string& query) {
        if (++count == 1 && holdFirst) open.wait(false);
        if (fail) throw std::runtime_error("unreachable");
        const auto found = table.find(query);
        return found == table.end() ? std::vector<SymbolHit>{} : found->second;
    }
    void release() {
        open = true;
        open.notify_all();
    }

    const std::map<std::string, std::vector<SymbolHit>> table{
        {"gzmt", {{"600519", "贵州茅台", InstrumentKind::stock}}},
        {"hs300",
         {{"510300", "沪深300ETF", InstrumentKind::etf}, {"159919", "沪深300ETF易方达", InstrumentKind::etf}}}};
    std::atomic<int> count = 0;
    std::atomic<bool> holdFirst = false, fail = false, open = false;
};

class SymbolSearchFieldTest : public ::testing::Test {
protected:
    void TearDown() override { search->release(); }

    WatchlistSection& section() { return *harness.root().watchlistSection(); }
    QLineEdit& field() { return *section().codeField(); }
    bool typeAndWait(const QString& text) {
        QTest::keyClicks(&field(), text);
        return testing::waitUntil([&] { return !section().hits().empty(); }, 5000);
    }

    // Shared with the lookups, which may still run on a worker thread when the test ends.
    std::shared_ptr<FakeSearch> search = std::make_shared<FakeSearch>();
    testing::SettingsHarness harness{AppConfig{},
                                     [search = search](const std::string& query) { return (*search)(query); }};
};

TEST_F(SymbolSearchFieldTest, ABurstOfKeystrokesMakesOneLookupAndClearingDropsSuggestionsAndThePendingLookup) {
    QTest::keyClicks(&field(), QStringLiteral("gzm"));
    EXPECT_TRUE(section().suggester().isPending());
    ASSERT_TRUE(typeAndWait(QStringLiteral("t")));
    EXPECT_EQ(search->count.load(), 1);
    EXPECT_EQ(section().hits().front(), (SymbolHit{"600519", "贵州茅台", InstrumentKind::stock}));

    QTest::keyClicks(&field(), QStringLiteral("e"));
    field().clear(); // no event processing in between
    EXPECT_FALSE(section().suggester().isPending());
    QTest::qWait(SymbolSuggester::debounceMs + 150);
    EXPECT_TRUE(section().hits().empty());
    EXPECT_EQ(search->count.load(), 1);
}

TEST_F(SymbolSearchFieldTest, ASlowOldLookupNeverReplacesNewerSuggestionsAndAFailedOneShowsNone) {
    search->holdFirst = true;
    QTest::keyClicks(&field(), QStringLiteral("gzmt"));
    ASSERT_TRUE(testing::waitUntil([&] { return search->count == 1; }, 5000));
    field().clear();
    ASSERT_TRUE(typeAndWait(QStringLiteral("hs300")));
    const std::vector<SymbolHit> fresh = section().hits();
    EXPECT_EQ(fresh.front().code, "510300");
    search->release();
    QTest::qWait(200);
    EXPECT_EQ(section().hits(), fresh);

    search->fail = true;
    field().clear();
    QTest::keyClicks(&field(), QStringLiteral("gzmt"));
    ASSERT_TRUE(testing::waitUntil([&] { return search->count == 3; }, 5000));
    QTest::qWait(100);
    EXPECT_TRUE(section().hits().empty());
    EXPECT_EQ(field().text(), QStringLiteral("gzmt"));
}

TEST_F(SymbolSearchFieldTest, ArrowKeysWalkTheSuggestionsAndPickingAddsTheProviderNameAndKind) {
    harness.window().show();
    ASSERT_TRUE(testing::waitForExposed(harness.window()));
    harness.window().activateWindow();
    field().setFocus();
    ASSERT_TRUE(typeAndWait(QStringLiteral("hs300")));
    QTest::keyClick(&field(), Qt::Key_Down);
    ASSERT_EQ(QApplication::focusWidget(), harness.find<QWidget>(QStringLiteral("hit:510300")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    ASSERT_EQ(QApplication::focusWidget(), harness.find<QWidget>(QStringLiteral("hit:159919")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); // picks it
    EXPECT_EQ(harness.saves.back().watchlist.back(), (WatchItem{"159919", "沪深300ETF易方达", InstrumentKind::etf}));
    EXPECT_EQ(QApplication::focusWidget(), &field());
    EXPECT_TRUE(field().text().isEmpty() && section().hits().empty());
}

} // namespace
} // namespace glimmer
