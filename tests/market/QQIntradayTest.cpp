#include "market/QQIntraday.h"
#include "market/QQFundFlow.h"

#include "market/SeriesFetchTest.h"

#include <gtest/gtest.h>

#include <functional>

namespace glimmer {
namespace {

using testing::fixture;
using testing::fundFlowPath;
using testing::minutePath;
using testing::SeriesFetchTest;

const Instant stamp = Instant{} + std::chrono::hours(480000);

std::optional<IntradaySnapshot> parseText(const std::string& text, const std::string& symbol) {
    ReplyJson json;
    json.parse(text);
    return QQIntraday::parse(json, symbol, symbol.substr(2), "自选名", stamp);
}

TEST(QQIntradayParse, FullDayTakesItsQuoteFromTheEmbeddedSnapshotRecord) {
    const auto snapshot = parseText(fixture("qq_minute_600519.json"), "sh600519");
    ASSERT_TRUE(snapshot);
    ASSERT_EQ(snapshot->minutes.size(), 241u);
    // The first line includes the opening auction.
    EXPECT_EQ(snapshot->minutes[0], (MinuteBar{"09:30", 1523.50, 326029000.00 / 214000, 2140, 326029000.00}));
    EXPECT_EQ(snapshot->minutes[1].time, "09:31");
    EXPECT_DOUBLE_EQ(snapshot->minutes[1].volume, 822);
    EXPECT_NEAR(snapshot->minutes[1].amount, 125172516.00, 1e-6);
    EXPECT_EQ(snapshot->minutes.back().time, "15:00");

    const Quote& quote = snapshot->quote;
    EXPECT_EQ(quote.name, "贵州茅台");
    EXPECT_EQ(quote.code, "600519");
    EXPECT_DOUBLE_EQ(quote.price, 1532.60);
    EXPECT_DOUBLE_EQ(quote.prevClose, 1523.50);
    EXPECT_DOUBLE_EQ(quote.high, 1533.83);
    EXPECT_DOUBLE_EQ(quote.amount, 17083272890);
    EXPECT_EQ(quote.tradeDate, "2024-11-08");
    EXPECT_EQ(quote.quoteTime, "15:00");
}

TEST(QQIntradayParse, CumulativeLinesBecomeMinuteDeltasWithinTheSession) {
    const auto snapshot = parseText(fixture("qq_minute_000001_noqt.json"), "sz000001");
    ASSERT_TRUE(snapshot);
    const auto& m = snapshot->minutes;
    // 0925 is before the open, "abc" is no price, "933" has three characters, 1501 is after the close.
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[0], (MinuteBar{"09:30", 10.01, 10.01, 100, 100100}));
    EXPECT_EQ(m[1].time, "09:31");
    EXPECT_DOUBLE_EQ(m[1].volume, 50);
    EXPECT_DOUBLE_EQ(m[1].amount, 50100);
    EXPECT_NEAR(m[1].avg, 150200.0 / 15000, 1e-12);
    // Cumulative volume going backwards never makes a negative bar.
    EXPECT_DOUBLE_EQ(m[2].volume, 0);
    EXPECT_DOUBLE_EQ(m[2].amount, 1400);
    // Unreadable totals carry the previous ones forward.
    EXPECT_EQ(m[3], (MinuteBar{"09:34", 10.05, 151600.0 / 14000, 0, 0}));
    EXPECT_EQ(m[4].time, "15:00");
    EXPECT_DOUBLE_EQ(m[4].volume, 160);
}

TEST(QQIntradayParse, MissingSnapshotRecordGivesAPlaceholderQuote) {
    const auto snapshot = parseText(fixture("qq_minute_000001_noqt.json"), "sz000001");
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->quote.code, "000001");
    EXPECT_EQ(snapshot->quote.name, "自选名");
    EXPECT_DOUBLE_EQ(snapshot->quote.price, 0);
    EXPECT_EQ(snapshot->quote.tradeDate, "");
    EXPECT_FALSE(snapshot->quote.quoteTime);
    EXPECT_EQ(snapshot->quote.updatedAt, stamp);
}

TEST(QQIntradayParse, RepliesWithoutUsableLinesGiveNothing) {
    EXPECT_FALSE(parseText(fixture("qq_minute_unknown.json"), "sz999999"));
    // The reply is keyed by symbol: another symbol's minutes are not this one's.
    EXPECT_FALSE(parseText(fixture("qq_minute_600519.json"), "sz600519"));
    for (const std::string text :
         {R"({"data":{"sh600519":[]}})", R"({"data":{"sh600519":{"data":{"data":"0930 1 1 1"}}}})",
          R"({"data":{"sh600519":{"data":{"data":["0930 1 1 1", 5]}}}})",
          R"({"data":{"sh600519":{"data":{"data":["0925 1 1 1", "1501 1 1 1"]}}}})", "[1,2]", "x"}) {
        EXPECT_FALSE(parseText(text, "sh600519")) << text;
    }
}

class QQIntradayFetch : public SeriesFetchTest {};

// Both Tencent series fetchers: a transport failure cools down with one line, an empty reply
// silently, an expired cool-down asks again, and an empty reply then a broken body cool down again.
TEST_F(QQIntradayFetch, TencentSeriesCoolDownsForTransportFailuresAndEmptyReplies) {
    struct Fetcher {
        const char* path;
        const char* key;
        const char* coolLine;
        std::string good, empty;
        std::function<bool()> fetch;
    };
    const Fetcher fetchers[] = {
        {minutePath, "qq.intraday", "INFO 腾讯分时不可用，冷却 120 秒\n", fixture("qq_minute_600519.json"),
         fixture("qq_minute_unknown.json"),
         [this] { return QQIntraday::fetchIntradayQQ("sh600519", "600519", "x", context).has_value(); }},
        {fundFlowPath, "qq.fundflow", "INFO 腾讯资金流不可用，冷却 120 秒\n", fixture("qq_fundflow_000001.json"),
         R"({"data":{"todayFundTrend":{"minList":[]}}})",
         [this] { return !QQFundFlow::fetchFlowQQ("sz000001", context).empty(); }},
    };
    for (const Fetcher& f : fetchers) {
        SCOPED_TRACE(f.key);
        tencent.serve(f.path, "", 502);
        EXPECT_FALSE(f.fetch());
        EXPECT_FALSE(f.fetch());
        clock.advance(30);
        EXPECT_FALSE(f.fetch()); // skipped: no request
        EXPECT_EQ(tencent.count(f.path), 2);
        EXPECT_EQ(occurrences(newLog(), f.coolLine), 1);
        EXPECT_EQ(tencent.requests().back().referer, "https://gu.qq.com");

        clock.advance(120);
        tencent.serve(f.path, f.empty);
        EXPECT_FALSE(f.fetch());
        EXPECT_FALSE(f.fetch());
        EXPECT_TRUE(health.shouldSkip(f.key, clock.now()));
        EXPECT_EQ(occurrences(newLog(), f.coolLine), 1) << "empty replies cool down silently";

        clock.advance(120);
        tencent.serve(f.path, f.good);
        EXPECT_TRUE(f.fetch());
        EXPECT_EQ(tencent.count(f.path), 5);
        tencent.serve(f.path, f.empty);
        EXPECT_FALSE(f.fetch());
        tencent.serve(f.path, "{broken");
        EXPECT_FALSE(f.fetch());
        EXPECT_EQ(occurrences(newLog(), f.coolLine), 2) << "an empty reply and a broken body cool down together";
    }
}

TEST_F(QQIntradayFetch, HostileSymbolIsEncoded) {
    tencent.serve(minutePath, fixture("qq_minute_600519.json"));
    QQIntraday::fetchIntradayQQ("sh600519&x=1", "600519", "x", context);
    ASSERT_EQ(tencent.requests().size(), 1u);
    EXPECT_EQ(tencent.requests()[0].query.at("code"), "sh600519&x=1");
    EXPECT_EQ(tencent.requests()[0].query.count("x"), 0u);
}

} // namespace
} // namespace glimmer
