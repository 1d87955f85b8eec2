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

TEST_F(SimMarketFaultTest, ThreeListenersGiveThreeEastmoneyOriginsInTheEndpointsFile) {
    const Endpoints endpoints = market->endpoints();
    EXPECT_NE(endpoints.eastmoneyHistory, endpoints.eastmoneyMain);
    EXPECT_NE(endpoints.eastmoneyMain, endpoints.eastmoneyDelayed);
    EXPECT_NE(endpoints.eastmoneyHistory, endpoints.eastmoneyDelayed);
    EXPECT_EQ(endpoints.tencentSnapshot, market->origin());

    testing::TempDir dir;
    ASSERT_TRUE(market->writeEndpointsFile(dir / "endpoints.json"));
    Endpoints read;
    std::string error;
    ASSERT_TRUE(Endpoints::fromFile(dir / "endpoints.json", read, error)) << error;
    EXPECT_EQ(read, endpoints) << "every key replaces its default";
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(get(trends, i)->status, 200) << "listener " << i;
}

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

TEST_F(SimMarketFaultTest, ReplyFaultsBendTheBodyTheWayProvidersDo) {
    market->setFault("trends", "", SimFault{SimFault::Kind::Empty, 0});
    EXPECT_TRUE(Json::parse(get(trends)->body)["data"]["trends"].empty());
    market->setFault("trends", "", SimFault{SimFault::Kind::NullData, 0});
    EXPECT_TRUE(Json::parse(get(trends)->body)["data"].is_null());
    market->setFault("trends", "", SimFault{SimFault::Kind::NotJson, 0});
    const auto html = get(trends);
    EXPECT_EQ(html->status, 200);
    EXPECT_TRUE(Json::parse(html->body, nullptr, false).is_discarded());

    market->setFault("snapshot", "", SimFault{SimFault::Kind::Gbk, 0});
    const std::string gbk = get("/utf8/q=sh600519")->body;
    EXPECT_FALSE(TextFormat::isValidUtf8(gbk));
    EXPECT_EQ(field(gbk, 1), "\xb9\xf3\xd6\xdd\xc3\xa9\xcc\xa8") << "贵州茅台 in GBK";
    EXPECT_EQ(field(gbk, 2), "600519");

    market->setFault("snapshot", "", SimFault{SimFault::Kind::Status, 304});
    EXPECT_EQ(get("/utf8/q=sh600519")->status, 304);
}

TEST_F(SimMarketFaultTest, ClosedConnectionsAndHangsGiveTheClientNothing) {
    market->setFault("*", "eastmoney.history", SimFault{SimFault::Kind::Close, 0});
    const auto closed = get(trends, 0);
    EXPECT_FALSE(closed) << "a closed connection is not a reply";
    EXPECT_EQ(get(trends, 1)->status, 200);

    market->setFault("*", "eastmoney.history", SimFault{SimFault::Kind::Hang, 0});
    EXPECT_FALSE(get(trends, 0, 150)) << "the client's time-out ends the wait";
    market->setFault("*", "eastmoney.history", SimFault{SimFault::Kind::Delay, 2000});
    EXPECT_FALSE(get(trends, 0, 150));
    market->setFault("*", "eastmoney.history", SimFault{SimFault::Kind::Delay, 20});
    EXPECT_EQ(get(trends, 0)->status, 200);
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

TEST_F(SimMarketFaultTest, PinsReachEveryEndpointSoAlertsCanFire) {
    market->pin("600519", 1666.66, 1500.0);
    const std::string snapshot = get("/utf8/q=sh600519")->body;
    EXPECT_EQ(field(snapshot, 3), "1666.66");
    EXPECT_EQ(field(snapshot, 4), "1500.00");
    EXPECT_GE(std::stod(field(snapshot, 33)), 1666.66);
    const Json reply = Json::parse(get(trends)->body);
    EXPECT_DOUBLE_EQ(reply["data"]["preClose"].get<double>(), 1500.0);
    const std::string last = reply["data"]["trends"].back();
    EXPECT_EQ(last.substr(0, 16), "2024-11-08 14:00");
    EXPECT_EQ(last.substr(last.find(',', 17) + 1, 7), "1666.66");
    const Json candles = Json::parse(get("/appstock/app/fqkline/get?param=sh600519,day,,,2,qfq")->body);
    EXPECT_EQ(candles["data"]["sh600519"]["qfqday"][1][2], "1666.66");

    market->clearPins();
    EXPECT_NE(field(get("/utf8/q=sh600519")->body, 3), "1666.66");
}

TEST_F(SimMarketFaultTest, ScriptedPathsStepPerSnapshotOrWithTheClock) {
    market->script("000001", {10.0, 10.5, 11.2});
    std::vector<std::string> prices;
    for (int i = 0; i < 4; ++i) prices.push_back(field(get("/utf8/q=sz000001")->body, 3));
    EXPECT_EQ(prices, (std::vector<std::string>{"10.00", "10.50", "11.20", "11.20"})) << "the last step sticks";

    market->script("510300", {4.0, 4.4}, 60);
    EXPECT_EQ(field(get("/utf8/q=sh510300")->body, 3), "4.000");
    EXPECT_EQ(field(get("/utf8/q=sh510300")->body, 3), "4.000") << "a timed path ignores requests";
    clock.advance(60);
    EXPECT_EQ(field(get("/utf8/q=sh510300")->body, 3), "4.400");
}

TEST_F(SimMarketFaultTest, RequestsAreCountedAndLoggedInOrderPerHost) {
    get("/utf8/q=sh600519", 0);
    get(trends, 1);
    get("/s3/?q=gzmt&t=all", 0);
    get(trends, 2);
    control("/_sim/status", nullptr);
    EXPECT_EQ(market->requestCount(), 4u) << "control requests are not counted";
    EXPECT_EQ(market->requestCount("trends"), 2u);
    EXPECT_EQ(market->requestCount("trends", market->hostKey(1)), 1u);
    const std::vector<SimRequest> log = market->requests();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].family, "snapshot");
    EXPECT_EQ(log[0].target, "/utf8/q=sh600519");
    EXPECT_EQ(log[1].host, market->hostKey(1));
    EXPECT_EQ(log[2].family, "suggest");
    EXPECT_LT(log[2].sequence, log[3].sequence);
    EXPECT_EQ(log[3].time, clock.now());

    const Json counters = control("/_sim/counters", nullptr);
    EXPECT_EQ(counters["total"], 4);
    EXPECT_EQ(counters["families"]["trends"], 2);
    EXPECT_EQ(counters["familyHosts"]["trends@" + market->hostKey(2)], 1);
    EXPECT_EQ(control("/_sim/log", nullptr)["requests"][1]["family"], "trends");
    control("/_sim/log/clear", Json::object());
    EXPECT_EQ(market->requestCount(), 0u);
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

TEST(SimMarketClock, ControlMovesTheMarketsOwnClock) {
    SimMarket::Options options;
    Instant start;
    ASSERT_TRUE(SimMarket::parseChinaTime("2024-11-08 09:29", start));
    options.time = start;
    SimMarket market(options);
    ASSERT_TRUE(market.start());
    httplib::Client client("127.0.0.1", market.port());
    ASSERT_EQ(client.Post("/_sim/clock", R"({"advance": 120})", "application/json")->status, 200);
    EXPECT_EQ(SimMarket::formatChinaTime(market.now()), "2024-11-08 09:31:00");
    EXPECT_EQ(market.view("600519")->minutes.size(), 2u);
    ASSERT_EQ(client.Post("/_sim/clock", R"({"time": "2024-11-08 13:00"})", "application/json")->status, 200);
    EXPECT_EQ(market.view("sh600519")->minutes.size(), 121u);
    EXPECT_EQ(client.Post("/_sim/clock", R"({"time": "2024-13-08 13:00"})", "application/json")->status, 400);
}

} // namespace
} // namespace glimmer::sim
