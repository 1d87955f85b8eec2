#pragma once

#include "doubles/ManualClock.h"
#include "market/FetchContext.h"
#include "model/AppLog.h"
#include "model/AppPaths.h"

#include "market/SeriesStubHost.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace glimmer::testing {

inline constexpr const char* trendsPath = "/api/qt/stock/trends2/get";
inline constexpr const char* flowPath = "/api/qt/stock/fflow/kline/get";
inline constexpr const char* minutePath = "/appstock/app/minute/query";
inline constexpr const char* fundFlowPath = "/cgi/cgi-bin/fundflow/hsfundtab";
inline constexpr const char* fqklinePath = "/appstock/app/fqkline/get";
inline constexpr const char* sinaPath = "/quotes_service/api/json_v2.php/CN_MarketData.getKLineData";

inline std::string fixture(const std::string& name) {
    return readFile(dataDir() / "market" / name);
}

/// Three Eastmoney hosts, one Tencent and one Sina host on loopback, with fresh health and a manual clock.
class SeriesFetchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Endpoints& endpoints = context.endpoints;
        endpoints.eastmoneyHistory = history.origin();
        endpoints.eastmoneyMain = main.origin();
        endpoints.eastmoneyDelayed = delayed.origin();
        // Every origin on a loopback host, so nothing a test forgets can reach the network.
        endpoints.tencentSnapshot = endpoints.tencentChart = endpoints.tencentFinance = tencent.origin();
        endpoints.tencentSuggest = tencent.origin();
        endpoints.sinaQuotes = sina.origin();
        clock.setChinaTime(2024, 11, 8, 10, 0, 0);
        AppLog::setClock(&clock);
        logStart = logText().size();
    }

    void TearDown() override { AppLog::setClock(nullptr); }

    static std::string logText() { return readFile(AppPaths::logFile()); }
    /// What this test appended to the event log.
    std::string newLog() const { return logText().substr(logStart); }

    static int occurrences(const std::string& text, const std::string& part) {
        int n = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
        return n;
    }

    static std::string key(const std::string& family, const SeriesStubHost& host) {
        return family + Endpoints::hostKey(host.origin());
    }

    SeriesStubHost history;
    SeriesStubHost main;
    SeriesStubHost delayed;
    SeriesStubHost tencent;
    SeriesStubHost sina;
    ManualClock clock;
    MarketAPI http;
    SourceHealth health;
    FetchContext context{http, health, clock};
    std::size_t logStart = 0;
};

} // namespace glimmer::testing
