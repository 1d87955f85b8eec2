#include "simmarket/SimMarket.h"

#include "doubles/ManualClock.h"
#include "market/Endpoints.h"
#include "model/TextFormat.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <future>

namespace glimmer::sim {
namespace {

using Json = nlohmann::json;

const std::string trends = "/api/qt/stock/trends2/get?secid=1.600519&fields1=f1,f2&fields2=f51,f52,f53,f54,f55,f56,"
                           "f57,f58&iscr=0&ndays=1";

std::string field(const std::string& snapshot, std::size_t index) {
    const auto open = snapshot.find("=\"");
    std::size_t start = open + 2;
    for (std::size_t i = 0; i < index; ++i) start = snapshot.find('~', start) + 1;
    return snapshot.substr(start, snapshot.find('~', start) - start);
}

class SimMarketFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        SimMarket::Options options;
        options.seed = 3;
        options.clock = &clock;
        clock.setChinaTime(2024, 11, 8, 14, 0);
        market = std::make_unique<SimMarket>(options);
        std::string error;
        ASSERT_TRUE(market->start(&error)) << error;
    }

    httplib::Result get(const std::string& target, std::size_t listener = 0, int timeoutMs = 5000) {
        httplib::Client client("127.0.0.1", market->port(listener));
        client.set_read_timeout(std::chrono::milliseconds(timeoutMs));
        return client.Get(target.c_str());
    }

    Json control(const std::string& target, const Json& payload, int expectedStatus = 200) {
        httplib::Client client("127.0.0.1", market->port());
        const auto result = payload.is_null() ? client.Get(target.c_str())
                                              : client.Post(target.c_str(), payload.dump(), "application/json");
        if (!result) {
            ADD_FAILURE() << "no reply to " << target;
            return {};
        }
        EXPECT_EQ(result->status, expectedStatus) << result->body;
        return Json::parse(result->body, nullptr, false);
    }

    ManualClock clock;
    std::unique_ptr<SimMarket> market;
};

TEST_F(SimMarketFaultTest, AHostFaultHitsOnlyThatHost) {
    market->setFault("trends", "eastmoney.main", SimFault{SimFault::Kind::Status, 503});
    market->setFault("fflow", market->hostKey(2), SimFault{SimFault::Kind::Empty, 0});
    EXPECT_EQ(get(trends, 0)->status, 200);
    EXPECT_EQ(get(trends, 1)->status, 503);
    EXPECT_EQ(get(trends, 2)->status, 200);
    const std::string flow = "/api/qt/stock/fflow/kline/get?lmt=0&klt=1&secid=1.600519";
    EXPECT_EQ(Json::parse(get(flow, 2)->body)["data"]["klines"].size(), 0u);
    EXPECT_EQ(Json::parse(get(flow, 0)->body)["data"]["klines"].size(), 180u)
        << "14:00 is 181 minutes in, 180 with flow";

    market->clearFaults();
    EXPECT_EQ(get(trends, 1)->status, 200);
}

TEST_F(SimMarketFaultTest, StoppingReleasesAHangingRequest) {
    market->setFault("snapshot", "", SimFault{SimFault::Kind::Hang, 0});
    auto pending = std::async(std::launch::async, [this] { return static_cast<bool>(get("/utf8/q=sh600519")); });
    while (market->requestCount("snapshot") == 0) std::this_thread::yield();
    const auto begin = std::chrono::steady_clock::now();
    market->stop();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(3));
    EXPECT_FALSE(pending.get());
}

TEST_F(SimMarketFaultTest, TheControlEndpointSetsFaultsPinsAndRejectsNonsense) {
    control("/_sim/fault", {{"rule", "trends@eastmoney.delayed=status:502"}});
    EXPECT_EQ(get(trends, 2)->status, 502);
    control("/_sim/fault", {{"family", "sina"}, {"kind", "null"}});
    EXPECT_EQ(get("/quotes_service/api/json_v2.php/CN_MarketData.getKLineData?symbol=sz000001&datalen=2")->body,
              "null");
    control("/_sim/pin", {{"code", "600519"}, {"price", 1234.5}});
    EXPECT_EQ(field(get("/utf8/q=sh600519")->body, 3), "1234.50");
    EXPECT_EQ(control("/_sim/view?code=600519", nullptr)["price"], 1234.5);

    control("/_sim/fault", {{"rule", "trends=teapot"}}, 400);
    control("/_sim/fault", {{"rule", "quotes=close"}}, 400);
    control("/_sim/fault", {{"family", "trends"}, {"kind", "status:42"}}, 400);
    control("/_sim/pin", {{"code", "600519"}}, 400);
    control("/_sim/nothing", Json::object(), 404);
    httplib::Client client("127.0.0.1", market->port());
    EXPECT_EQ(client.Post("/_sim/pin", "{not json", "application/json")->status, 400);
    control("/_sim/clock", {{"advance", 60}}, 409); // an outside clock is not ours to move

    control("/_sim/reset", Json::object());
    EXPECT_EQ(get(trends, 2)->status, 200);
    EXPECT_NE(field(get("/utf8/q=sh600519")->body, 3), "1234.50");
    EXPECT_EQ(market->requestCount(), 2u);
}

TEST(SimFaults, SpecsReadLikeTheCommandLineOption) {
    SimFaultRule rule;
    std::string error;
    ASSERT_TRUE(SimFaults::parse("trends@127.0.0.2:8080=status:503", rule, error)) << error;
    EXPECT_EQ(rule.family, "trends");
    EXPECT_EQ(rule.host, "127.0.0.2:8080");
    EXPECT_EQ(rule.fault, (SimFault{SimFault::Kind::Status, 503}));
    ASSERT_TRUE(SimFaults::parse("=close", rule, error));
    EXPECT_EQ(rule.family, "*");
    ASSERT_TRUE(SimFaults::parse("fqkline=delay:1500", rule, error));
    EXPECT_EQ(rule.fault.arg, 1500);
    for (const char* bad : {"trends", "trends=", "trends=status", "trends=status:5x", "trends=delay:-1",
                            "trends=hang:3", "bogus=close", "trends=status:99"}) {
        EXPECT_FALSE(SimFaults::parse(bad, rule, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

} // namespace
} // namespace glimmer::sim
