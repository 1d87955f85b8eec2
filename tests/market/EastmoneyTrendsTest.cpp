#include "market/EastmoneyTrends.h"
#include "market/EastmoneyFlow.h"

#include "market/SeriesFetchTest.h"

namespace glimmer {
namespace {

using namespace testing;

const Instant stamp = Instant{} + std::chrono::hours(480000);

EastmoneyTrends::Reply parse(const std::string& text, const std::string& name = "茅台(自选)") {
    return EastmoneyTrends::parse(text, "600519", name, stamp);
}

TEST(EastmoneyTrendsParse, FullDayBuildsEveryMinuteAndTheDayQuoteBrokenMinutesAreSkippedAndNegativeVolumesAreNone) {
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

    // Found by fuzzing: "-84" shares would draw below the volume chart's baseline.
    const auto parsed = parse(R"({"data":{"preClose":1523.5,"trends":[)"
                              R"("2024-11-08 09:30,1523.50,1525.27,1525.57,1523.20,2140,3.2e8,1524.3",)"
                              R"("2024-11-08 09:31,1525.27,1524.88,1525.57,1524.58,-84,7.4e7,1524.5",)"
                              R"("2024-11-08 09:32,1524.88,1526.00,1526.10,1524.80,671,1.0e8,1524.6"]}})");
    ASSERT_TRUE(parsed.snapshot && parsed.snapshot->minutes.size() == 3);
    const MinuteBar& negative = parsed.snapshot->minutes[1];
    EXPECT_EQ(std::pair(negative.volume, negative.price), std::pair(0.0, 1524.88)) << "the rest is still read";
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

TEST_F(EastmoneyTrendsFetch, FailingHostCoolsDownAloneWhileTheNextOneAnswers) {
    history.serve(trendsPath, fixture("em_trends_throttled.json")); // throttling: empty "trends"
    main.serve(trendsPath, good);
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

TEST_F(EastmoneyTrendsFetch, FirstHostAnswersWithTheDocumentedRequestAGbkReplyKeepsItsNameAndAHangingHostFails) {
    history.serve(trendsPath, good);
    ASSERT_EQ(fetch().value_or(IntradaySnapshot{}).minutes.size(), 241u);
    const auto requests = history.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].referer, "https://quote.eastmoney.com");
    EXPECT_EQ(requests[0].query.at("secid"), "1.600519");
    EXPECT_EQ(main.requests().size() + delayed.requests().size(), 0u);

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

TEST(EastmoneyFlowParse, FullDayFromNineThirtyOneRowsOfThreePiecesAndRepliesThatFailTheSourceCheck) {
    const auto full = EastmoneyFlow::parse(fixture("em_fflow_000001.json"));
    ASSERT_TRUE(full.isUsable);
    ASSERT_EQ(full.points.size(), 240u);
    EXPECT_EQ(full.points.front(), (FlowPoint{"09:31", -481154.7, 140972.5}));
    EXPECT_EQ(full.points.back(), (FlowPoint{"15:00", -13738938.9, 6603541.3}));
    // "…09:33,12.5" has two pieces and "…09:34,,," one: both dropped; the rest read their first three.
    const auto quirks = EastmoneyFlow::parse(fixture("em_fflow_quirks.json"));
    ASSERT_TRUE(quirks.isUsable);
    EXPECT_EQ(quirks.points, (std::vector<FlowPoint>{{"09:31", -1520000, 830000}, {"09:31", 0, 5}}));

    EXPECT_FALSE(EastmoneyFlow::parse(fixture("em_fflow_nodata.json")).isUsable);
    for (const std::string text : {"", "null", "{}", R"({"data":{"klines":[]}})", R"({"data":{"klines":[1]}})",
                                   R"({"data":{"klines":{"a":"b"}}})", "\xff\xfe{"}) {
        EXPECT_FALSE(EastmoneyFlow::parse(text).isUsable) << text;
    }
}

class EastmoneyFlowFetch : public SeriesFetchTest {};

TEST_F(EastmoneyFlowFetch, MainHostFirstWithTheDocumentedRequestAndAUsableReplyWithoutPointsMovesOnWithoutCounting) {
    main.serve(flowPath, fixture("em_fflow_000001.json"));
    history.serve(flowPath, fixture("em_fflow_000001.json"));
    EXPECT_EQ(EastmoneyFlow::fetchFlow("0.000001", "sz000001", context).size(), 240u);
    EXPECT_EQ(history.count(flowPath), 0);
    const auto request = main.requests().at(0);
    EXPECT_EQ(request.referer, "https://data.eastmoney.com");
    EXPECT_EQ(request.query.at("lmt") + request.query.at("klt") + " " + request.query.at("secid"), "01 0.000001");

    main.serve(flowPath, R"({"data":{"klines":["2024-11-08 09:31"]}})");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(EastmoneyFlow::fetchFlow("0.000001", "sz000001", context).size(), 240u);
    EXPECT_EQ(std::pair(main.count(flowPath), history.count(flowPath)), std::pair(4, 3));
    EXPECT_TRUE(health.coolingKeys(clock.now()).empty());
}

TEST_F(EastmoneyFlowFetch, NullDataFailsEachHostInTurnThenTencentAnswers) {
    for (auto* host : {&main, &history, &delayed}) host->serve(flowPath, fixture("em_fflow_nodata.json"));
    tencent.serve(fundFlowPath, fixture("qq_fundflow_000001.json"));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(EastmoneyFlow::fetchFlow("0.000001", "sz000001", context).size(), 240u);
    for (auto* host : {&main, &history, &delayed}) EXPECT_EQ(host->count(flowPath), 2);
    EXPECT_EQ(health.coolingKeys(clock.now()).size(), 3u);
    // The Tencent symbol is derived from the secid when none is given.
    EXPECT_EQ(tencent.requests().at(0).query.at("code") + " " + tencent.requests().at(0).query.at("type"),
              "sz000001 todayFundTrend");
    EXPECT_EQ(newLog(), "");
}

TEST_F(EastmoneyTrendsFetch, ForcingSwitchesGoToTencentAtOnceAndTheFlowFallbackUsesTheGivenSymbol) {
    history.serve(trendsPath, good);
    tencent.serve(minutePath, fixture("qq_minute_600519.json"));
    tencent.serve(fundFlowPath, fixture("qq_fundflow_000001.json"));
    context.switches.forceQQIntraday = true;
    ASSERT_TRUE(fetch());
    EXPECT_EQ(std::pair(history.count(trendsPath), tencent.count(minutePath)), std::pair(0, 1));
    context.switches = SourceSwitches{.forceQQFlow = true};
    EXPECT_EQ(EastmoneyFlow::fetchFlow("0.159915", "sz159915", context).size(), 240u);
    EXPECT_EQ(main.count(flowPath) + history.count(flowPath) + delayed.count(flowPath), 0);
    EXPECT_EQ(tencent.requests().back().query.at("code"), "sz159915");
}

} // namespace
} // namespace glimmer
