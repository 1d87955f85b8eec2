#include "market/Endpoints.h"
#include "market/MarketAPI.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

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

TEST(Endpoints, HostListsFollowTheEndpointsInForce) {
    Endpoints endpoints;
    endpoints.eastmoneyHistory = "http://127.0.0.1:1";
    endpoints.eastmoneyMain = "http://127.0.0.2:1";
    endpoints.eastmoneyDelayed = "http://127.0.0.3:1";
    Endpoints::setCurrent(endpoints);
    EXPECT_EQ(MarketAPI::trendsHosts(),
              (std::vector<std::string>{"http://127.0.0.1:1", "http://127.0.0.2:1", "http://127.0.0.3:1"}));
    EXPECT_EQ(MarketAPI::flowHosts(),
              (std::vector<std::string>{"http://127.0.0.2:1", "http://127.0.0.1:1", "http://127.0.0.3:1"}));
    Endpoints::setCurrent(Endpoints{});
    EXPECT_EQ(MarketAPI::trendsHosts().front(), "https://push2his.eastmoney.com");
}

} // namespace
} // namespace glimmer
