#include "market/QQIntraday.h"
#include "market/QQFundFlow.h"

#include "market/SeriesFetchTest.h"

#include <functional>

namespace glimmer {
namespace {

using namespace testing;

const Instant stamp = Instant{} + std::chrono::hours(480000);

std::optional<IntradaySnapshot> parseMinutes(const std::string& text, const std::string& symbol) {
    ReplyJson json;
    json.parse(text);
    return QQIntraday::parse(json, symbol, symbol.substr(2), "自选名", stamp);
}

std::vector<FlowPoint> parseFlow(const std::string& text) {
    ReplyJson json;
    json.parse(text);
    return QQFundFlow::parseMinutes(json);
}

TEST(QQIntradayParse,
     FullDayTakesItsQuoteFromTheEmbeddedRecordCumulativeLinesBecomeDeltasAndAMissingRecordAPlaceholder) {
    const auto snapshot = parseMinutes(fixture("qq_minute_600519.json"), "sh600519");
    ASSERT_TRUE(snapshot);
    const auto& m = snapshot->minutes;
    ASSERT_EQ(m.size(), 241u);
    // The first line includes the opening auction.
    EXPECT_EQ(m[0], (MinuteBar{"09:30", 1523.50, 326029000.00 / 214000, 2140, 326029000.00}));
    EXPECT_EQ(std::tuple(m[1].time, m[1].volume, m.back().time), std::tuple("09:31", 822.0, "15:00"));
    EXPECT_NEAR(m[1].amount, 125172516.00, 1e-6);
    const Quote& q = snapshot->quote;
    EXPECT_EQ(std::tuple(q.name, q.code, q.price, q.prevClose, q.high, q.amount, q.tradeDate, q.quoteTime),
              std::tuple("贵州茅台", "600519", 1532.60, 1523.50, 1533.83, 17083272890.0, "2024-11-08",
                         std::optional<std::string>("15:00")));

    const auto partial = parseMinutes(fixture("qq_minute_000001_noqt.json"), "sz000001");
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->quote, (Quote{.code = "000001", .name = "自选名", .updatedAt = stamp}));
    const auto& bars = partial->minutes;
    // 0925 is before the open, "abc" is no price, "933" has three characters, 1501 is after the close.
    ASSERT_EQ(bars.size(), 5u);
    EXPECT_EQ(bars[0], (MinuteBar{"09:30", 10.01, 10.01, 100, 100100}));
    EXPECT_EQ(std::tuple(bars[1].time, bars[1].volume, bars[1].amount), std::tuple("09:31", 50.0, 50100.0));
    EXPECT_NEAR(bars[1].avg, 150200.0 / 15000, 1e-12);
    // Cumulative volume going backwards never makes a negative bar.
    EXPECT_EQ(std::pair(bars[2].volume, bars[2].amount), std::pair(0.0, 1400.0));
    // Unreadable totals carry the previous ones forward.
    EXPECT_EQ(bars[3], (MinuteBar{"09:34", 10.05, 151600.0 / 14000, 0, 0}));
    EXPECT_EQ(std::pair(bars[4].time, bars[4].volume), std::pair(std::string("15:00"), 160.0));
    EXPECT_FALSE(parseMinutes(fixture("qq_minute_unknown.json"), "sz999999"));
    // The reply is keyed by symbol: another symbol's minutes are not this one's.
    EXPECT_FALSE(parseMinutes(fixture("qq_minute_600519.json"), "sz600519"));
    for (const std::string text :
         {R"({"data":{"sh600519":[]}})", R"({"data":{"sh600519":{"data":{"data":"0930 1 1 1"}}}})",
          R"({"data":{"sh600519":{"data":{"data":["0930 1 1 1", 5]}}}})",
          R"({"data":{"sh600519":{"data":{"data":["0925 1 1 1", "1501 1 1 1"]}}}})", "[1,2]", "x"}) {
        EXPECT_FALSE(parseMinutes(text, "sh600519")) << text;
    }
}

TEST(QQFundFlowParse, StampsAndValuesOfEveryShape) {
    const auto full = parseFlow(fixture("qq_fundflow_000001.json"));
    ASSERT_EQ(full.size(), 240u);
    EXPECT_EQ(full.front(), (FlowPoint{"09:31", -126798.13, -139597.91}));
    EXPECT_EQ(full.back(), (FlowPoint{"15:00", -7663084.67, 2886843.12}));
    // Dropped: 09:25 (pre-open), an 11-character stamp, a numeric stamp, 15:01 (after the close). Kept:
    // 14 characters with string and number values; a number and a missing key (0); a dash and a null (0).
    EXPECT_EQ(
        parseFlow(fixture("qq_fundflow_quirks.json")),
        (std::vector<FlowPoint>{{"13:05", 123.4, 55}, {"13:10", 123.4, 0}, {"13:12", 0, 0}, {"15:00", -5e6, 3e6}}));
    for (const std::string text :
         {"", "[]", R"({"data":{}})", R"({"data":{"todayFundTrend":{"minList":{}}}})",
          R"({"data":{"todayFundTrend":[]}})", R"({"data":{"todayFundTrend":{"minList":[1,"x",null]}}})"}) {
        EXPECT_TRUE(parseFlow(text).empty()) << text;
    }
    EXPECT_NE(
        QQFundFlow::url("http://127.0.0.1:9", "sz000001&type=x").find("code=sz000001%26type%3Dx&type=todayFundTrend"),
        std::string::npos);
}

class QQIntradayFetch : public SeriesFetchTest {};

TEST_F(QQIntradayFetch, TencentSeriesCoolDownsForTransportFailuresAndEmptyRepliesAndAHostileSymbolIsEncoded) {
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
        EXPECT_FALSE(f.fetch() || f.fetch());
        clock.advance(30);
        EXPECT_FALSE(f.fetch()); // skipped: no request
        EXPECT_EQ(tencent.count(f.path), 2);
        EXPECT_EQ(occurrences(newLog(), f.coolLine), 1);
        EXPECT_EQ(tencent.requests().back().referer, "https://gu.qq.com");

        clock.advance(120);
        tencent.serve(f.path, f.empty);
        EXPECT_FALSE(f.fetch() || f.fetch());
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
    clock.advance(120);
    QQIntraday::fetchIntradayQQ("sh600519&x=1", "600519", "x", context);
    EXPECT_EQ(tencent.requests().back().query, (std::map<std::string, std::string>{{"code", "sh600519&x=1"}}));
}

} // namespace
} // namespace glimmer
