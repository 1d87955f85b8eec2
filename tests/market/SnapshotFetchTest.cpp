#include "market/QuoteBatch.h"
#include "market/SecID.h"
#include "market/SymbolSearch.h"

#include "market/SeriesFetchTest.h"

#include <vector>

namespace glimmer {
namespace {

using testing::fixture;

const std::string coolDownLine = "批量快照不可用，冷却 120 秒，改逐只拉分时";

std::vector<WatchItem> watchList(std::size_t count) {
    std::vector<WatchItem> items;
    for (std::size_t i = 0; i < count; ++i) items.emplace_back(std::to_string(600000 + i), "");
    return items;
}

/// The Tencent snapshot and suggestion services, answering each snapshot request with its status in turn.
class SnapshotServiceTest : public testing::SeriesFetchTest {
protected:
    void SetUp() override {
        SeriesFetchTest::SetUp();
        tencent.handle("/utf8/q=", [this](const httplib::Request&, httplib::Response& res) {
            const std::size_t index = requestTargets().size() - 1;
            res.status = index < statuses.size() ? statuses[index] : 200;
            res.set_content(replyBody, "text/plain; charset=GBK");
        });
        tencent.handle("/s3/", [this](const httplib::Request&, httplib::Response& res) {
            res.status = suggestStatus;
            res.set_content(fixture("smartbox_hs300.txt"), "text/html; charset=utf-8");
        });
    }

    std::vector<std::string> requestTargets() const {
        std::vector<std::string> targets;
        for (const auto& received : tencent.requests()) targets.push_back(received.target);
        return targets;
    }
    int coolDownLines() const { return occurrences(newLog(), coolDownLine); }

    std::vector<int> statuses;
    int suggestStatus = 200;
    std::string replyBody = fixture("tencent_snapshot_gbk.txt");
};

TEST_F(SnapshotServiceTest, GbkReplyBecomesQuotesKeyedByCodeSixtyCodesARequestEachEncoded) {
    const auto quotes = QuoteBatch::fetch({{"600519", ""}, {"000001", ""}, {"510300", ""}}, context);
    ASSERT_EQ(quotes.size(), 3u);
    EXPECT_EQ(quotes.at("600519").name, "贵州茅台");
    EXPECT_EQ(quotes.at("510300").updatedAt, clock.now());
    EXPECT_TRUE(QuoteBatch::fetch({}, context).empty()) << "an empty watch list makes no request";
    EXPECT_FALSE(QuoteBatch::fetch(watchList(61), context).empty());
    const auto sent = requestTargets();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], "/utf8/q=sh600519,sz000001,sh510300");
    EXPECT_EQ(std::count(sent[1].begin(), sent[1].end(), ','), 59);
    EXPECT_EQ(sent[2], "/utf8/q=sh600060");
    QuoteBatch::fetch({{"600519&r=1#x", ""}, {"00 01,sh1", ""}, {"平安", ""}}, context);
    EXPECT_EQ(requestTargets().back(), "/utf8/q=sh600519%26r%3D1%23x,sz00%2001%2Csh1,sz%E5%B9%B3%E5%AE%89")
        << "hand-edited codes cannot add URL parts";
}

TEST_F(SnapshotServiceTest, FailingChunkKeepsEarlierChunksAndSkipsLaterOnes) {
    statuses = {200, 500};
    EXPECT_EQ(QuoteBatch::fetch(watchList(130), context).size(), 3u) << "the first chunk's quotes survive";
    EXPECT_EQ(requestTargets().size(), 2u) << "the third chunk is not requested";
}

TEST_F(SnapshotServiceTest, TwoFailedRefreshesCoolDownAndLogOnce) {
    statuses = {503, 503, 503};
    const int before = coolDownLines();
    EXPECT_TRUE(QuoteBatch::fetch(watchList(3), context).empty());
    EXPECT_EQ(coolDownLines(), before) << "one failure is no cool-down";
    EXPECT_TRUE(QuoteBatch::fetch(watchList(3), context).empty());
    EXPECT_EQ(coolDownLines(), before + 1);

    clock.advance(60);
    EXPECT_TRUE(QuoteBatch::fetch(watchList(3), context).empty());
    EXPECT_EQ(requestTargets().size(), 2u) << "a cooling source makes no request";

    clock.advance(61);
    EXPECT_EQ(QuoteBatch::fetch(watchList(3), context).size(), 0u);
    EXPECT_EQ(requestTargets().size(), 3u);
    EXPECT_EQ(coolDownLines(), before + 1) << "after expiry one failure starts nothing";
    EXPECT_EQ(QuoteBatch::fetch(watchList(3), context).size(), 3u);
    EXPECT_TRUE(health.coolingKeys(clock.now()).empty());
}

TEST_F(SnapshotServiceTest, RepliesWithoutRecordsCoolDownSilently) {
    replyBody = fixture("tencent_snapshot_none.txt");
    const int before = coolDownLines();
    QuoteBatch::fetch(watchList(2), context);
    QuoteBatch::fetch(watchList(2), context);
    EXPECT_TRUE(health.shouldSkip("qq.quote", clock.now()));
    EXPECT_EQ(coolDownLines(), before);
}

TEST_F(SnapshotServiceTest, SearchSendsUtf8PercentEncodingKeepsTheFirstHitsAndReadsAnyStatus) {
    const auto hits = SymbolSearch::search("沪深300", 8, context);
    ASSERT_EQ(hits.size(), 8u);
    EXPECT_EQ(hits.front().code + hits.back().code, "510300510330");
    EXPECT_EQ(requestTargets(), std::vector<std::string>{"/s3/?q=%E6%B2%AA%E6%B7%B1300&t=all"});
    EXPECT_EQ(tencent.requests()[0].query.at("q"), "沪深300");
    suggestStatus = 404;
    EXPECT_EQ(SymbolSearch::search("hs300", 20, context).size(), 12u);
    EXPECT_EQ(SymbolSearch::search("hs300", 11, context).size(), 11u);
    EXPECT_TRUE(SymbolSearch::search("hs300", 0, context).empty());
}

TEST(SecID, ShanghaiIsFirstCharacterFiveSixOrNineInEveryProviderForm) {
    std::string symbols;
    for (const char* code :
         {"600519", "688981", "510300", "900901", "588000", "000001", "159915", "830799", "", "hk0700"})
        symbols += SecID::tencentSymbol(code) + " ";
    EXPECT_EQ(symbols, "sh600519 sh688981 sh510300 sh900901 sh588000 sz000001 sz159915 sz830799 sz szhk0700 ");
    EXPECT_EQ(SecID::secid("600519") + " " + SecID::secid("000001"), "1.600519 0.000001");
}

TEST(SymbolSearch, KeepsProviderOrderSkipsRecordsWithFieldsMissingDecodesEscapesAndEncodesTheQuery) {
    EXPECT_EQ(SymbolSearch::parse(fixture("smartbox_gzmt.txt")),
              std::vector<SymbolHit>{(SymbolHit{"600519", "贵州茅台", InstrumentKind::stock})})
        << "an escaped name";
    const auto hits = SymbolSearch::parse(fixture("smartbox_hs300.txt"));
    ASSERT_EQ(hits.size(), 12u) << "the four-character code and the US ticker are dropped";
    EXPECT_EQ(hits[0], (SymbolHit{"510300", "沪深300ETF", InstrumentKind::etf}));
    EXPECT_EQ(hits[2], (SymbolHit{"000300", "沪深300", InstrumentKind::stock}));
    EXPECT_EQ(hits[6].kind, InstrumentKind::etf) << "LOF-ETF contains ETF";
    EXPECT_EQ(hits[8], (SymbolHit{"160706", "嘉实沪深300ETF联接(LOF)", InstrumentKind::stock}));
    EXPECT_EQ(hits[10].kind, InstrumentKind::stock) << "GP-A-CYB is a stock";
    // An empty name drops out, so the pinyin becomes the name and the type is missing: skipped.
    for (const std::string text : {fixture("smartbox_none.txt"), std::string(), std::string("v_hint=\""),
                                   std::string("v_hint=\"sh~600519~~gzmt~GP-A\";")}) {
        EXPECT_TRUE(SymbolSearch::parse(text).empty()) << text;
    }
    EXPECT_EQ(SymbolSearch::parse("v_hint=\"^^sz~000001~\\u5e73\\u5b89\\u94f6\\u884c~payh~GP-A~~x^\";"),
              std::vector<SymbolHit>{(SymbolHit{"000001", "平安银行", InstrumentKind::stock})});
    EXPECT_EQ(SymbolSearch::decodeEscapes("A\\u00e9\\x41\\u12"), "Aé\\x41\\u12") << "bad escapes stay as typed";
    EXPECT_EQ(SymbolSearch::decodeEscapes("\\ud83d\\ude00"), "😀");
    EXPECT_EQ(SymbolSearch::decodeEscapes("\\udbff\\udfff"), "\xF4\x8F\xBF\xBF") << "the last code point";
    EXPECT_EQ(SymbolSearch::decodeEscapes("\\ud83dx"), "\xEF\xBF\xBDx") << "a lone surrogate is no character";
    EXPECT_EQ(SymbolSearch::decodeEscapes("\\"), "\\");
    Endpoints endpoints;
    endpoints.tencentSuggest = "http://127.0.0.1:9";
    EXPECT_EQ(SymbolSearch::url(endpoints, "a&t=x#y z"), "http://127.0.0.1:9/s3/?q=a%26t%3Dx%23y%20z&t=all");
}

} // namespace
} // namespace glimmer
