#include "market/DailyKline.h"
#include "market/MarketSource.h"

#include "market/SeriesFetchTest.h"

namespace glimmer {
namespace {

using namespace testing;

TEST(DailyKlineParse,
     ForwardAdjustedTencentRowsOnlyWhenNoPlainOnesRepliesThatFailTheSourceCheckAndSinaObjectsOfStrings) {
    const auto reply = DailyKline::parseTencent(fixture("qq_fqkline_600519.json"), "sh600519");
    ASSERT_TRUE(reply.isUsable);
    ASSERT_EQ(reply.bars.size(), 320u);
    EXPECT_EQ(reply.bars.front(), (DailyBar{"2023-07-21", 1691.57, 1712.74, 1724.17, 1687.86, 43490.482}));
    // Row 200 carries a seventh element, which is ignored.
    EXPECT_EQ(std::tuple(reply.bars[200].date, reply.bars[200].volume, reply.bars.back().date),
              std::tuple("2024-04-26", 43387.326, "2024-10-10"));
    const auto both = DailyKline::parseTencent(fixture("qq_fqkline_both.json"), "sz000001");
    ASSERT_EQ(both.bars.size(), 1u);
    EXPECT_DOUBLE_EQ(both.bars[0].close, 11.33);

    const auto index = DailyKline::parseTencent(fixture("qq_fqkline_index.json"), "sh000001");
    ASSERT_TRUE(index.isUsable);
    // Five elements and a dash for the high drop their rows; a dash for the volume keeps 0.
    ASSERT_EQ(index.bars.size(), 3u);
    EXPECT_EQ(std::pair(index.bars[0].volume, index.bars[1].volume), std::pair(486731808.0, 598873400.0))
        << "a JSON number as it comes";
    EXPECT_EQ(index.bars[2], (DailyBar{"2024-11-08", 3481.0, 3452.3, 3509.61, 3445.53, 0}));

    const auto noRows = DailyKline::parseTencent(fixture("qq_fqkline_norows.json"), "sz159999");
    EXPECT_TRUE(noRows.isUsable && noRows.bars.empty()) << "a symbol without rows is still a usable reply";
    EXPECT_FALSE(DailyKline::parseTencent(fixture("qq_fqkline_param_error.json"), "sh600519").isUsable);
    EXPECT_FALSE(DailyKline::parseTencent(fixture("qq_fqkline_600519.json"), "sz600519").isUsable);
    for (const std::string text : {"", "[]", R"({"data":{"sh600519":[]}})", "\x1f\x8b\x08\x00"}) {
        EXPECT_FALSE(DailyKline::parseTencent(text, "sh600519").isUsable) << text;
    }

    const auto bars = DailyKline::parseSina(fixture("sina_kline_sz000001.json"));
    ASSERT_EQ(bars.size(), 320u);
    EXPECT_EQ(bars.front(), (DailyBar{"2023-07-21", 11.44, 11.56, 11.58, 11.36, 108034842}));

    const auto quirks = DailyKline::parseSina(fixture("sina_kline_quirks.json"));
    // No "open" and a numeric "day" drop their objects; no "volume" keeps 0; numbers as they come.
    ASSERT_EQ(quirks.size(), 2u);
    EXPECT_EQ(quirks[0], (DailyBar{"2024-11-06", 11.4, 11.5, 11.52, 11.35, 0}));
    EXPECT_EQ(quirks[1], (DailyBar{"2024-11-08", 11.65, 11.72, 11.8, 11.6, 180000000}));

    EXPECT_TRUE(DailyKline::parseSina(fixture("sina_kline_null.json")).empty());
    EXPECT_TRUE(
        DailyKline::parseSina(R"([{"day":"2024-11-08","open":"1","high":"1","low":"1","close":"1"}, 5])").empty());
}

class DailyKlineFetch : public SeriesFetchTest {};

TEST_F(DailyKlineFetch, TencentAnswersWithTheDocumentedRequestAndTheSinaFallbackIsLoggedWithTheBarCount) {
    tencent.serve(fqklinePath, fixture("qq_fqkline_600519.json"));
    EXPECT_EQ(MarketSource::live(context).fetchDaily("sh600519", 320).size(), 320u);
    EXPECT_EQ(tencent.requests().at(0).query.at("param"), "sh600519,day,,,320,qfq");
    EXPECT_EQ(tencent.requests().at(0).referer, "https://gu.qq.com");
    EXPECT_EQ(sina.count(sinaPath), 0);
    EXPECT_EQ(newLog(), "");

    tencent.serve(fqklinePath, R"({"code":0,"msg":"","data":{"sz000001":{"qt":{},"version":"16"}}})");
    sina.serve(sinaPath, fixture("sina_kline_sz000001.json"));
    EXPECT_EQ(DailyKline::fetchDaily("sz000001", 320, context).size(), 320u);
    const auto request = sina.requests().at(0);
    EXPECT_EQ(request.referer, "https://finance.sina.com.cn");
    const auto& q = request.query;
    EXPECT_EQ(q.at("symbol") + " " + q.at("scale") + " " + q.at("ma") + " " + q.at("datalen"), "sz000001 240 no 320");
    EXPECT_EQ(occurrences(newLog(), "INFO 日K降级新浪(不复权) sz000001 根数=320\n"), 1);
    // A reply without rows still counts as a healthy Tencent source.
    DailyKline::fetchDaily("sz000001", 320, context);
    EXPECT_TRUE(health.coolingKeys(clock.now()).empty());
}

TEST_F(DailyKlineFetch, TencentFailuresCoolDownOnceThenSinaServesAlone) {
    tencent.serve(fqklinePath, fixture("qq_fqkline_param_error.json"));
    sina.serve(sinaPath, fixture("sina_kline_sz000001.json"));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(DailyKline::fetchDaily("sh600519", 320, context).size(), 320u);
    EXPECT_EQ(tencent.count(fqklinePath), 2);
    EXPECT_EQ(sina.count(sinaPath), 4);
    const std::string log = newLog();
    EXPECT_EQ(occurrences(log, "INFO 腾讯日K连续失败，冷却 120 秒，改走新浪\n"), 1);
    EXPECT_EQ(occurrences(log, "日K降级新浪(不复权) sh600519 根数=320"), 4);
}

TEST_F(DailyKlineFetch, SinaSwitchSkipsTencentAndBothSourcesFailingGiveNothingAndNoFallbackLine) {
    tencent.serve(fqklinePath, fixture("qq_fqkline_600519.json"));
    sina.serve(sinaPath, fixture("sina_kline_sz000001.json"));
    context.switches.forceSinaDaily = true;
    EXPECT_EQ(DailyKline::fetchDaily("sh600519", 320, context).size(), 320u);
    EXPECT_EQ(std::pair(tencent.count(fqklinePath), sina.count(sinaPath)), std::pair(0, 1));

    context.switches.forceSinaDaily = false;
    tencent.serve(fqklinePath, "", 304);
    sina.serve(sinaPath, "null");
    const std::size_t logged = newLog().size();
    EXPECT_TRUE(DailyKline::fetchDaily("sh600519", 320, context).empty());
    EXPECT_EQ(occurrences(newLog().substr(logged), "日K降级新浪"), 0);
}

} // namespace
} // namespace glimmer
