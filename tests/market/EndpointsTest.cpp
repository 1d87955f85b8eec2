#include "market/Endpoints.h"
#include "doubles/ManualClock.h"
#include "market/FetchContext.h"
#include "market/SourceHealth.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

namespace glimmer {
namespace {

using namespace testing;

TEST(Endpoints, FileReplacesOnlyTheKeysItNamesHostKeysKeepThePortAndAnUnreadableOrBrokenFileIsRejectedWholly) {
    TempDir dir;
    writeFile(dir / "endpoints.json", R"({"eastmoney.history": "http://127.0.0.1:8001",
        "eastmoney.main": "http://127.0.0.2:8001/", "tencent.suggest": "http://localhost:9000"})");
    Endpoints endpoints;
    std::string error;
    ASSERT_TRUE(Endpoints::fromFile(dir / "endpoints.json", endpoints, error)) << error;
    // The main host loses its trailing slash, which would double in URLs; unnamed keys keep their defaults.
    EXPECT_EQ(std::tie(endpoints.eastmoneyHistory, endpoints.eastmoneyMain, endpoints.tencentSuggest,
                       endpoints.eastmoneyDelayed),
              std::tie("http://127.0.0.1:8001", "http://127.0.0.2:8001", "http://localhost:9000",
                       "https://push2delay.eastmoney.com"));
    std::vector<std::string> keys;
    for (const char* origin : {"https://push2.eastmoney.com", "http://127.0.0.2:8001", "http://127.0.0.1:8001/"})
        keys.push_back(Endpoints::hostKey(origin));
    EXPECT_EQ(keys, (std::vector<std::string>{"push2.eastmoney.com", "127.0.0.2:8001", "127.0.0.1:8001"}));

    const Endpoints before = endpoints;
    EXPECT_FALSE(Endpoints::fromFile(dir / "missing.json", endpoints, error));
    EXPECT_FALSE(error.empty());
    for (const char* content : {"{not json", "[]", R"({"tencent.chart": 5})",
                                R"({"tencent.chart": "http://a", "sina.quotes": "127.0.0.1:80"})",
                                R"({"tencent.chart": "http://a/path?x=1"})"}) {
        writeFile(dir / "bad.json", content);
        EXPECT_FALSE(Endpoints::fromFile(dir / "bad.json", endpoints, error)) << content;
    }
    EXPECT_EQ(endpoints, before) << "a rejected file changes nothing";
}

TEST(FetchContext, EnvironmentSetsEachSwitchByItsOwnRule) {
    MarketAPI http;
    SourceHealth health;
    const auto read = [&](const std::map<std::string, std::string>& variables) {
        return FetchContext::fromEnvironment(http, health, Clock::system(), [&](const char* name) {
            return variables.contains(name) ? std::optional(variables.at(name)) : std::nullopt;
        });
    };
    // Every diagnostics run reads its endpoints file through GLIMMERBOX_ENDPOINTS.
    EXPECT_EQ(read({}).switches, SourceSwitches{});
    // The Tencent switches need exactly "1"; the Sina switch and the trace only need to be present.
    EXPECT_EQ(read({{"GLIMMERBOX_FORCE_QQ_INTRADAY", "1"},
                    {"GLIMMERBOX_FORCE_QQ_FLOW", "1"},
                    {"GLIMMERBOX_FORCE_SINA_K", ""},
                    {"GLIMMERBOX_REFRESH_TRACE", "0"}})
                  .switches,
              (SourceSwitches{true, true, true, true}));
    EXPECT_EQ(read({{"GLIMMERBOX_FORCE_QQ_INTRADAY", "true"}, {"GLIMMERBOX_FORCE_QQ_FLOW", "0"}}).switches,
              SourceSwitches{});
}

class SourceHealthTest : public ::testing::Test {
protected:
    SourceHealth health;
    ManualClock clock{Instant{} + std::chrono::hours(24 * 20000)};
    void failTwice(const std::string& key) {
        for (int i = 0; i < 2; ++i) health.recordFailure(key, clock.now());
    }
};

TEST_F(SourceHealthTest, FailureDuringCoolDownExtendsItWithoutAnotherStart) {
    failTwice("qq.fqkline");
    clock.advance(100);
    EXPECT_FALSE(health.recordFailure("qq.fqkline", clock.now())) << "only the first start is logged";
    clock.advance(100); // 200 s after the start, 100 s after the extending failure
    EXPECT_TRUE(health.shouldSkip("qq.fqkline", clock.now()));
    clock.advance(20);
    EXPECT_FALSE(health.shouldSkip("qq.fqkline", clock.now()));

    // No shouldSkip in between: the old deadline has passed, so this is a new, logged start.
    failTwice("qq.fundflow");
    clock.advance(300);
    EXPECT_TRUE(health.recordFailure("qq.fundflow", clock.now()));
}

TEST_F(SourceHealthTest, SuccessResetsTheCountAndEndsACoolDownOfItsKeyOnly) {
    health.recordFailure("em.trends.a", clock.now());
    health.recordSuccess("em.trends.a");
    EXPECT_FALSE(health.recordFailure("em.trends.a", clock.now())) << "the count started again";
    EXPECT_FALSE(health.shouldSkip("em.trends.a", clock.now()));

    failTwice("qq.quote");
    EXPECT_TRUE(health.shouldSkip("qq.quote", clock.now()));
    EXPECT_FALSE(health.shouldSkip("qq.quote.other", clock.now()));
    EXPECT_FALSE(health.recordFailure("qq.quote.other", clock.now()));
    health.recordSuccess("qq.quote");
    EXPECT_FALSE(health.shouldSkip("qq.quote", clock.now()));
}

TEST_F(SourceHealthTest, CoolingKeysAreSortedAndOmitExpiredDeadlines) {
    for (const char* key : {"qq.quote", "em.trends.b", "em.trends.a"}) failTwice(key);
    clock.advance(60);
    failTwice("qq.fqkline");
    EXPECT_EQ(health.coolingKeys(clock.now()),
              (std::vector<std::string>{"em.trends.a", "em.trends.b", "qq.fqkline", "qq.quote"}));
    clock.advance(60); // the first three have reached their deadline but were never checked
    EXPECT_EQ(health.coolingKeys(clock.now()), (std::vector<std::string>{"qq.fqkline"}));
}

} // namespace
} // namespace glimmer
