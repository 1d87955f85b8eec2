#include "market/EastmoneyTrends.h"

#include "market/SeriesFetchTest.h"

namespace glimmer {
namespace {

using testing::fixture;
using testing::minutePath;
using testing::SeriesFetchTest;
using testing::trendsPath;

const Instant stamp = Instant{} + std::chrono::hours(480000);

EastmoneyTrends::Reply parse(const std::string& text, const std::string& name = "茅台(自选)") {
    return EastmoneyTrends::parse(text, "600519", name, stamp);
}

TEST(EastmoneyTrendsParse, FullDayBuildsEveryMinuteAndTheDayQuoteAndBrokenMinutesAreSkipped) {
    const auto reply = parse(fixture("em_trends_600519.json"));
    ASSERT_TRUE(reply.isUsable && reply.snapshot);
    const auto& minutes = reply.snapshot->minutes;
    ASSERT_EQ(minutes.size(), 241u);
    EXPECT_EQ(minutes.front(), (MinuteBar{"09:30", 1525.27, 1524.385, 2140, 326218390.00}));
    EXPECT_EQ(minutes.back().time, "15:00");
    const Quote& quote = reply.snapshot->quote;
    EXPECT_NEAR(quote.amount, 18390780341.0, 0.01);
    EXPECT_EQ(quote, (Quote{"600519", "贵州茅台", 1530.55, 1523.5, 1523.50, 1539.06, 1523.2, 120126, quote.amount,
                            "2024-11-08", "15:00", stamp}));

    // 09:31 has seven pieces and 09:32 a dash for its close: both dropped, the reply still counts.
    const auto quirks = parse(fixture("em_trends_quirks.json"));
    ASSERT_TRUE(quirks.isUsable && quirks.snapshot);
    const auto& kept = quirks.snapshot->minutes;
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].time + kept[2].time, "09:3009:34");
    EXPECT_EQ(kept[1], (MinuteBar{"09:33", 9.93, 9.93, 0, 0}));
    // "preClose" 0: the previous close is the first kept minute's open.
    const Quote& q = quirks.snapshot->quote;
    EXPECT_EQ(std::tuple(q.name, q.prevClose, q.high, q.low, q.volume),
              std::tuple("XD平安银", 9.80, 9.96, 9.78, 5600.0));
}

TEST(EastmoneyTrendsParse, ANegativeVolumeCountsAsNoVolume) {
    // Found by fuzzing: "-84" shares would draw below the volume chart's baseline.
    const auto parsed = parse(R"({"data":{"preClose":1523.5,"trends":[)"
                              R"("2024-11-08 09:30,1523.50,1525.27,1525.57,1523.20,2140,3.2e8,1524.3",)"
                              R"("2024-11-08 09:31,1525.27,1524.88,1525.57,1524.58,-84,7.4e7,1524.5",)"
                              R"("2024-11-08 09:32,1524.88,1526.00,1526.10,1524.80,671,1.0e8,1524.6"]}})");
    ASSERT_TRUE(parsed.snapshot);
    const auto& minutes = parsed.snapshot->minutes;
    ASSERT_EQ(minutes.size(), 3u);
    EXPECT_DOUBLE_EQ(minutes[1].volume, 0);
    EXPECT_DOUBLE_EQ(minutes[1].price, 1524.88) << "the rest of the line is still read";
    EXPECT_DOUBLE_EQ(parsed.snapshot->quote.volume, 2140 + 671);
}

TEST(EastmoneyTrendsParse, RepliesThatFailTheSourceCheckOrHaveNoUsableMinute) {
    for (const std::string text :
         {fixture("em_trends_unknown.json"), fixture("em_trends_throttled.json"), fixture("em_trends_truncated.json"),
          std::string(), std::string("<html>502 Bad Gateway</html>"), std::string("[]"), std::string(R"({"data":[]})"),
          std::string(R"({"data":{"trends":["a", 1]}})"), std::string(R"({"data":{"trends":"x"}})")}) {
        const auto reply = parse(text);
        EXPECT_FALSE(reply.isUsable || reply.snapshot) << text.substr(0, 80);
    }
    const auto reply = parse(R"({"data":{"trends":["2024-11-08 09:31,1,-,1,1,1,1,1", ","]}})");
    EXPECT_TRUE(reply.isUsable);
    EXPECT_FALSE(reply.snapshot);
    const auto unnamed = parse(R"({"data":{"trends":["2024-11-08 09:31,1,1,1,1,1,1,1"]}})", "自选名");
    ASSERT_TRUE(unnamed.snapshot);
    EXPECT_EQ(unnamed.snapshot->quote.name, "自选名") << "no name in the reply: the watch list's";

    const std::string url = EastmoneyTrends::url("http://127.0.0.1:1", "1.600519&ndays=5#x");
    EXPECT_EQ(url.find("&ndays=5"), std::string::npos);
    EXPECT_NE(url.find("secid=1.600519%26ndays%3D5%23x&"), std::string::npos) << "a hostile secid is encoded";
}

class EastmoneyTrendsFetch : public SeriesFetchTest {
protected:
    std::optional<IntradaySnapshot> fetch(double timeout = 10) {
        return EastmoneyTrends::fetchIntraday("1.600519", "600519", "贵州茅台", context, timeout);
    }
    const std::string good = fixture("em_trends_600519.json");
};

TEST_F(EastmoneyTrendsFetch, FirstHostAnswersWithTheDocumentedRequest) {
    history.serve(trendsPath, good);
    const auto snapshot = fetch();
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->minutes.size(), 241u);
    const auto requests = history.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].referer, "https://quote.eastmoney.com");
    EXPECT_EQ(requests[0].query.at("secid"), "1.600519");
    EXPECT_EQ(main.requests().size() + delayed.requests().size(), 0u);
}

TEST_F(EastmoneyTrendsFetch, FailingHostCoolsDownAloneWhileTheNextOneAnswers) {
    history.serve(trendsPath, fixture("em_trends_throttled.json")); // throttling: empty "trends"
    main.serve(trendsPath, good);
    // Twice failing, cooling for 120 s, then asked again.
    for (const auto [wait, historyCount] : {std::pair{0, 1}, {0, 2}, {119, 2}, {1, 3}}) {
        clock.advance(wait);
        ASSERT_TRUE(fetch());
        EXPECT_EQ(history.count(trendsPath), historyCount) << wait;
        if (historyCount == 2) {
            EXPECT_EQ(health.coolingKeys(clock.now()), std::vector<std::string>{key("em.trends.", history)});
        }
    }
    EXPECT_EQ(main.count(trendsPath), 4);
    EXPECT_EQ(newLog(), "") << "host keys are counted, never logged";
}

TEST_F(EastmoneyTrendsFetch, AllHostsCoolingGoesStraightToTencent) {
    for (auto* host : {&history, &main, &delayed}) host->serve(trendsPath, fixture("em_trends_unknown.json"));
    tencent.serve(minutePath, fixture("qq_minute_600519.json"));
    ASSERT_TRUE(fetch() && fetch());
    EXPECT_EQ(health.coolingKeys(clock.now()).size(), 3u);

    const auto snapshot = fetch();
    ASSERT_TRUE(snapshot);
    EXPECT_DOUBLE_EQ(snapshot->quote.price, 1532.60);
    for (auto* host : {&history, &main, &delayed}) EXPECT_EQ(host->count(trendsPath), 2);
    EXPECT_EQ(tencent.count(minutePath), 3);
    EXPECT_EQ(tencent.requests().back().query.at("code"), "sh600519");
}

TEST_F(EastmoneyTrendsFetch, ASuccessOrAUsableReplyWithoutMinutesCountsNoFailure) {
    main.serve(trendsPath, good);
    // History fails once, succeeds, fails again: no cool-down. A reply without minutes is not counted.
    const std::string noMinutes = R"({"data":{"name":"x","trends":["2024-11-08 09:31,1,-,1,1,1,1,1"]}})";
    for (const std::string& reply : {std::string("not json"), good, std::string("not json"), noMinutes, noMinutes}) {
        history.serve(trendsPath, reply);
        ASSERT_TRUE(fetch());
    }
    EXPECT_EQ(history.count(trendsPath), 5);
    EXPECT_TRUE(health.coolingKeys(clock.now()).empty());
}

TEST_F(EastmoneyTrendsFetch, ForcingSwitchGoesToTencentAtOnce) {
    history.serve(trendsPath, good);
    tencent.serve(minutePath, fixture("qq_minute_600519.json"));
    context.switches.forceQQIntraday = true;
    ASSERT_TRUE(fetch());
    EXPECT_EQ(history.count(trendsPath), 0);
    EXPECT_EQ(tencent.count(minutePath), 1);
}

TEST_F(EastmoneyTrendsFetch, GbkReplyKeepsItsChineseNameAndAHangingHostFails) {
    history.serve(trendsPath, fixture("em_trends_600519_gbk.json"));
    const auto snapshot = fetch();
    ASSERT_TRUE(snapshot);
    EXPECT_EQ(snapshot->quote.name, "贵州茅台");
    EXPECT_EQ(snapshot->minutes.size(), 5u);

    history.hang(trendsPath);
    main.serve(trendsPath, good);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(fetch(0.3));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(main.count(trendsPath), 1);
}

} // namespace
} // namespace glimmer
