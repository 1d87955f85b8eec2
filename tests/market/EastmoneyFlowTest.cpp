#include "market/EastmoneyFlow.h"

#include "market/SeriesFetchTest.h"

namespace glimmer {
namespace {

using testing::fixture;
using testing::flowPath;
using testing::fundFlowPath;
using testing::SeriesFetchTest;

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

TEST_F(EastmoneyFlowFetch, MainHostFirstWithTheDocumentedRequest) {
    main.serve(flowPath, fixture("em_fflow_000001.json"));
    history.serve(flowPath, fixture("em_fflow_000001.json"));
    EXPECT_EQ(EastmoneyFlow::fetchFlow("0.000001", "sz000001", context).size(), 240u);
    EXPECT_EQ(history.count(flowPath), 0);
    const auto request = main.requests().at(0);
    EXPECT_EQ(request.referer, "https://data.eastmoney.com");
    EXPECT_EQ(request.query.at("lmt") + request.query.at("klt") + " " + request.query.at("secid"), "01 0.000001");
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

TEST_F(EastmoneyFlowFetch, GivenSymbolIsUsedForTheFallback) {
    tencent.serve(fundFlowPath, fixture("qq_fundflow_000001.json"));
    context.switches.forceQQFlow = true;
    EXPECT_EQ(EastmoneyFlow::fetchFlow("0.159915", "sz159915", context).size(), 240u);
    EXPECT_EQ(main.count(flowPath) + history.count(flowPath) + delayed.count(flowPath), 0);
    EXPECT_EQ(tencent.requests().at(0).query.at("code"), "sz159915");
}

TEST_F(EastmoneyFlowFetch, UsableReplyWithoutPointsMovesOnWithoutCounting) {
    main.serve(flowPath, R"({"data":{"klines":["2024-11-08 09:31"]}})");
    history.serve(flowPath, fixture("em_fflow_000001.json"));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(EastmoneyFlow::fetchFlow("0.000001", "sz000001", context).size(), 240u);
    EXPECT_EQ(main.count(flowPath), 3);
    EXPECT_TRUE(health.coolingKeys(clock.now()).empty());
}

} // namespace
} // namespace glimmer
