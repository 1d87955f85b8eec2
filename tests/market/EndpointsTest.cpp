#include "market/Endpoints.h"
#include "market/FetchContext.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

namespace glimmer {
namespace {

using testing::TempDir;
using testing::writeFile;

TEST(Endpoints, FileReplacesOnlyTheKeysItNames) {
    TempDir dir;
    writeFile(dir / "endpoints.json", R"({"eastmoney.history": "http://127.0.0.1:8001",
        "eastmoney.main": "http://127.0.0.2:8001/", "tencent.suggest": "http://localhost:9000"})");
    Endpoints endpoints;
    std::string error;
    ASSERT_TRUE(Endpoints::fromFile(dir / "endpoints.json", endpoints, error)) << error;
    EXPECT_EQ(endpoints.eastmoneyHistory, "http://127.0.0.1:8001");
    EXPECT_EQ(endpoints.eastmoneyMain, "http://127.0.0.2:8001") << "a trailing slash would double in URLs";
    EXPECT_EQ(endpoints.tencentSuggest, "http://localhost:9000");
    EXPECT_EQ(endpoints.eastmoneyDelayed, "https://push2delay.eastmoney.com");
    EXPECT_EQ(endpoints.tencentSnapshot, "https://qt.gtimg.cn");
    EXPECT_EQ(endpoints.sinaQuotes, "https://money.finance.sina.com.cn");
}

TEST(Endpoints, UnreadableOrBrokenFileIsRejectedWholly) {
    TempDir dir;
    Endpoints endpoints;
    std::string error;
    EXPECT_FALSE(Endpoints::fromFile(dir / "missing.json", endpoints, error));
    EXPECT_FALSE(error.empty());
    for (const char* content : {"{not json", "[]", R"({"tencent.chart": 5})",
                                R"({"tencent.chart": "http://a", "sina.quotes": "127.0.0.1:80"})",
                                R"({"tencent.chart": "http://a/path?x=1"})"}) {
        writeFile(dir / "bad.json", content);
        EXPECT_FALSE(Endpoints::fromFile(dir / "bad.json", endpoints, error)) << content;
    }
    EXPECT_EQ(endpoints, Endpoints{}) << "a rejected file changes nothing";
}

TEST(Endpoints, HostKeyKeepsThePortSoLoopbackHostsStayApart) {
    EXPECT_EQ(Endpoints::hostKey("https://push2.eastmoney.com"), "push2.eastmoney.com");
    EXPECT_EQ(Endpoints::hostKey("http://127.0.0.1:8001"), "127.0.0.1:8001");
    EXPECT_EQ(Endpoints::hostKey("http://127.0.0.2:8001"), "127.0.0.2:8001");
    EXPECT_EQ(Endpoints::hostKey("http://127.0.0.1:8001/"), "127.0.0.1:8001");
}

TEST(FetchContext, EnvironmentSetsTheEndpointsAndEachSwitchByItsOwnRule) {
    TempDir dir;
    writeFile(dir / "endpoints.json", R"({"tencent.chart": "http://127.0.0.1:8001"})");
    writeFile(dir / "broken.json", "{not json");
    MarketAPI http;
    SourceHealth health;
    const auto read = [&](const std::map<std::string, std::string>& variables) {
        return FetchContext::fromEnvironment(http, health, Clock::system(),
                                             [&](const char* name) -> std::optional<std::string> {
                                                 const auto found = variables.find(name);
                                                 if (found == variables.end()) return std::nullopt;
                                                 return found->second;
                                             });
    };
    EXPECT_EQ(read({}).endpoints, Endpoints{});
    EXPECT_EQ(read({}).switches, SourceSwitches{});
    EXPECT_EQ(read({{"GLIMMERBOX_ENDPOINTS", (dir / "endpoints.json").string()}}).endpoints.tencentChart,
              "http://127.0.0.1:8001");
    EXPECT_EQ(read({{"GLIMMERBOX_ENDPOINTS", (dir / "broken.json").string()}}).endpoints, Endpoints{});

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

} // namespace
} // namespace glimmer
