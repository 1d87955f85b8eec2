#include "market/MarketAPI.h"
#include "model/AppPaths.h"

#include "SeriesStubHost.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace glimmer {
namespace {

constexpr const char* expectedUserAgent = "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 "
                                          "(KHTML, like Gecko) Version/16.0 Safari/605.1.15";

class MarketAPIHttpTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.serve("/ok", "v_sh600519=\"1~贵州茅台~600519\";");
        server.hang("/hang");
        server.handle("/trickle", [](const httplib::Request&, httplib::Response& res) {
            // One byte every 300 ms: never a stall, never an end.
            res.set_chunked_content_provider("text/plain", [](size_t, httplib::DataSink& sink) {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                return sink.is_writable() && sink.write("x", 1);
            });
        });
        server.handle("/to-http", [this](const httplib::Request&, httplib::Response& res) {
            res.set_redirect(server.origin() + "/ok");
        });
        server.handle("/cookie", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "session=abc; Path=/");
        });
    }

    testing::SeriesStubHost server;
    MarketAPI api;
};

TEST_F(MarketAPIHttpTest, Status200GivesTheBodyWithOurHeadersAndNoCookiesWithinItsSizeLimitOtherStatusesNothing) {
    EXPECT_EQ(api.httpGet(server.origin() + "/ok?q=1", "https://data.eastmoney.com", 10),
              "v_sh600519=\"1~贵州茅台~600519\";");
    const auto seen = server.requests().back();
    EXPECT_EQ(seen.userAgent, expectedUserAgent);
    EXPECT_EQ(seen.referer, "https://data.eastmoney.com");
    EXPECT_EQ(seen.query.at("q"), "1");
    for (const int status : {204, 304, 201, 302, 404, 500, 503}) {
        server.serve("/status", "a body the client must not use", status);
        EXPECT_FALSE(api.httpGet(server.origin() + "/status", "https://gu.qq.com", 10)) << status;
    }
    api.httpGet(server.origin() + "/cookie", "https://gu.qq.com", 10);
    api.httpGet(server.origin() + "/cookie", "https://gu.qq.com", 10);
    EXPECT_FALSE(server.requests().back().hadCookie) << "no cookie is kept";
    EXPECT_FALSE(api.httpGet(server.origin() + "/to-http", "https://gu.qq.com", 10)) << "redirects never lead to http";
    server.serve("/big", std::string(4096, ' '));
    HttpRequest request{server.origin() + "/big", "https://gu.qq.com", MarketAPI::userAgent};
    request.maxBodyBytes = 4096;
    EXPECT_EQ(api.get(request).value_or("").size(), 4096u);
    server.serve("/big", std::string(4097, ' '));
    EXPECT_FALSE(api.get(request));
    const std::string log = testing::readFile(AppPaths::logFile());
    EXPECT_NE(log.find("WARN 回复超过 4 KB 上限，已放弃：" + server.origin() + "/big\n"), std::string::npos) << log;
    // A reply of a few megabytes is far past anything a provider sends.
    server.serve("/big", std::string(3000000, ' '));
    EXPECT_FALSE(api.httpGet(server.origin() + "/big", "https://gu.qq.com", 10));
}

TEST_F(MarketAPIHttpTest, HangingServerOrEndlessSlowReplyGivesNothingWithinTimeoutPlusThreeSeconds) {
    for (const char* path : {"/hang", "/trickle"}) {
        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(api.httpGet(server.origin() + path, "https://gu.qq.com", 1)) << path;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(5500)) << path;
    }
}

TEST_F(MarketAPIHttpTest, AbandoningEndsRunningAndWaitingTransfersAtOnceAndRefusesNewOnes) {
    // Six requests to one host: four hang on the server, two wait for a free slot.
    std::vector<std::future<std::optional<std::string>>> calls;
    for (int i = 0; i < 6; ++i) {
        calls.push_back(std::async(std::launch::async,
                                   [this] { return api.httpGet(server.origin() + "/hang", "https://gu.qq.com", 30); }));
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (server.count("/hang") < 4 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(server.count("/hang"), 4);

    const auto abandoned = std::chrono::steady_clock::now();
    api.abandonTransfers();
    for (auto& call : calls) {
        ASSERT_EQ(call.wait_until(abandoned + std::chrono::milliseconds(500)), std::future_status::ready);
        EXPECT_FALSE(call.get());
    }
    EXPECT_FALSE(api.httpGet(server.origin() + "/ok", "https://gu.qq.com", 10)) << "no request after the end";
    EXPECT_EQ(server.count("/hang"), 4);
}

} // namespace
} // namespace glimmer
