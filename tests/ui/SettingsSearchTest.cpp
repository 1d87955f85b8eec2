#include "market/FetchContext.h"
#include "settings/SettingsRootView.h"
#include "settings/SymbolSuggester.h"
#include "settings/WatchlistSection.h"
#include "simmarket/SimMarket.h"
#include "ui/SettingsTestSupport.h"
#include "ui/TestApplication.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <mutex>

namespace glimmer {
namespace {

// Suggestions come from a simulated market on loopback through the real search; a test may point
// the lookups at another market. One market serves the whole suite: stopping a listener waits for
// its idle connections.
class SymbolSearchFieldTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        market = new sim::SimMarket();
        ASSERT_TRUE(market->start());
    }
    static void TearDownTestSuite() {
        delete market;
        market = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(market, nullptr);
        market->reset();
        pointAt(*market);
    }

    void pointAt(const sim::SimMarket& target) {
        std::lock_guard guard(endpointsLock);
        endpoints = target.endpoints();
    }
    std::vector<SymbolHit> search(const std::string& query) {
        FetchContext context{http, health, Clock::system()};
        {
            std::lock_guard guard(endpointsLock);
            context.endpoints = endpoints;
        }
        return SymbolSearch::search(query, SymbolSuggester::hitLimit, context);
    }

    WatchlistSection& section() { return *harness.root().watchlistSection(); }
    QLineEdit& field() { return *section().codeField(); }
    bool typeAndWait(const QString& text) {
        QTest::keyClicks(&field(), text);
        return testing::waitUntil([&] { return !section().hits().empty(); }, 5000);
    }
    std::vector<std::string> hitCodes() {
        std::vector<std::string> codes;
        for (const SymbolHit& hit : section().hits()) codes.push_back(hit.code);
        return codes;
    }

    static inline sim::SimMarket* market = nullptr;
    MarketAPI http;
    SourceHealth health;
    std::mutex endpointsLock; // lookups read the endpoints on worker threads
    Endpoints endpoints;
    testing::SettingsHarness harness{AppConfig{}, [this](const std::string& query) { return search(query); }};
};

TEST_F(SymbolSearchFieldTest, ABurstOfKeystrokesMakesOneLookupAndClearingDropsSuggestionsAndThePendingLookup) {
    QElapsedTimer clock;
    clock.start();
    QTest::keyClicks(&field(), QStringLiteral("gzm"));
    EXPECT_TRUE(section().suggester().isPending());
    ASSERT_TRUE(typeAndWait(QStringLiteral("t")));
    EXPECT_GE(clock.elapsed(), SymbolSuggester::debounceMs);
    EXPECT_EQ(market->requestCount("suggest"), 1u);
    EXPECT_EQ(section().hits().front(), (SymbolHit{"600519", "贵州茅台", InstrumentKind::stock}));

    QTest::keyClicks(&field(), QStringLiteral("e"));
    field().clear(); // no event processing in between
    EXPECT_TRUE(section().hits().empty());
    EXPECT_FALSE(section().suggester().isPending());
    QTest::qWait(SymbolSuggester::debounceMs + 150);
    EXPECT_TRUE(section().hits().empty());
    EXPECT_EQ(market->requestCount("suggest"), 1u);
}

TEST_F(SymbolSearchFieldTest, ASlowOldLookupNeverReplacesNewerSuggestionsAndAFailedOneShowsNone) {
    // The first lookup goes to a market that hangs; the second to one that answers at once.
    sim::SimMarket slow;
    ASSERT_TRUE(slow.start());
    slow.setFault("suggest", "", sim::SimFault{sim::SimFault::Kind::Hang, 0});
    pointAt(slow);
    QTest::keyClicks(&field(), QStringLiteral("gzmt"));
    ASSERT_TRUE(testing::waitUntil([&] { return slow.requestCount("suggest") == 1; }, 5000));
    pointAt(*market);
    field().clear();
    ASSERT_TRUE(typeAndWait(QStringLiteral("hs300")));
    const std::vector<std::string> fresh = hitCodes();
    EXPECT_EQ(fresh.front(), "510300");
    // Release the old reply and give it every chance to land.
    slow.clearFaults();
    QTest::qWait(400);
    EXPECT_EQ(hitCodes(), fresh);
    slow.stop();

    market->setFault("suggest", "", sim::SimFault{sim::SimFault::Kind::NotJson, 0});
    field().clear();
    QTest::keyClicks(&field(), QStringLiteral("gzmt"));
    ASSERT_TRUE(testing::waitUntil([&] { return market->requestCount("suggest") == 2; }, 5000));
    QTest::qWait(200);
    EXPECT_TRUE(section().hits().empty());
    EXPECT_EQ(field().text(), QStringLiteral("gzmt"));
}

TEST_F(SymbolSearchFieldTest, ArrowKeysWalkTheSuggestionsAndPickingAddsTheProviderNameAndKindOnce) {
    harness.window().show();
    ASSERT_TRUE(testing::waitForExposed(harness.window()));
    harness.window().activateWindow();
    field().setFocus();
    QTest::keyClicks(&field(), QStringLiteral("hs300"));
    ASSERT_TRUE(testing::waitUntil([&] { return section().hits().size() >= 2; }, 5000));
    const std::vector<std::string> codes = hitCodes();
    QTest::keyClick(&field(), Qt::Key_Down);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->objectName(), QStringLiteral("hit:") + QString::fromStdString(codes[0]));
    QTest::keyClick(focused, Qt::Key_Down);
    focused = QApplication::focusWidget();
    EXPECT_EQ(focused->objectName(), QStringLiteral("hit:") + QString::fromStdString(codes[1]));
    QTest::keyClick(focused, Qt::Key_Space); // picks it
    EXPECT_EQ(harness.saves.back().watchlist.back().code, codes[1]);
    EXPECT_EQ(QApplication::focusWidget(), &field());

    ASSERT_TRUE(typeAndWait(QStringLiteral("hs300")));
    QTest::mouseClick(harness.find<QPushButton>(QStringLiteral("hit:510300")), Qt::LeftButton);
    ASSERT_EQ(harness.saves.size(), 2u);
    EXPECT_EQ(harness.saves.back().watchlist.back(), (WatchItem{"510300", "沪深300ETF", InstrumentKind::etf}));
    EXPECT_TRUE(field().text().isEmpty());
    EXPECT_TRUE(section().hits().empty());
    ASSERT_TRUE(typeAndWait(QStringLiteral("hs300")));
    QTest::mouseClick(harness.find<QPushButton>(QStringLiteral("hit:510300")), Qt::LeftButton);
    EXPECT_EQ(harness.saves.size(), 2u) << "picking a listed one again only clears";
    EXPECT_TRUE(section().hits().empty());
}

} // namespace
} // namespace glimmer
