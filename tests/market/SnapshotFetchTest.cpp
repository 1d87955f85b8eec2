#include "market/QuoteBatch.h"
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
        context.endpoints.tencentSnapshot = context.endpoints.tencentSuggest = tencent.origin();
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

TEST_F(SnapshotServiceTest, GbkReplyBecomesQuotesKeyedByCodeSixtyCodesARequest) {
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

TEST_F(SnapshotServiceTest, HandEditedCodesCannotAddUrlParts) {
    QuoteBatch::fetch({{"600519&r=1#x", ""}, {"00 01,sh1", ""}, {"平安", ""}}, context);
    EXPECT_EQ(requestTargets(),
              std::vector<std::string>{"/utf8/q=sh600519%26r%3D1%23x,sz00%2001%2Csh1,sz%E5%B9%B3%E5%AE%89"});
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

} // namespace
} // namespace glimmer
