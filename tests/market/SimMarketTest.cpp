#include "simmarket/SimMarket.h"

#include "doubles/ManualClock.h"
#include "market/Endpoints.h"
#include "model/TextFormat.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdlib>

namespace glimmer::sim {
namespace {

using Json = nlohmann::json;

Instant chinaTime(const std::string& text) {
    Instant instant;
    EXPECT_TRUE(SimMarket::parseChinaTime(text, instant)) << text;
    return instant;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

double num(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

int decimalsOf(const std::string& number) {
    const auto dot = number.find('.');
    return dot == std::string::npos ? 0 : static_cast<int>(number.size() - dot - 1);
}

/// The symbol and payload of every v_<symbol>="<payload>"; record.
std::vector<std::pair<std::string, std::string>> records(const std::string& body) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const std::string& line : split(body, '\n')) {
        if (line.empty()) continue;
        const auto equals = line.find("=\"");
        const auto close = line.rfind("\";");
        if (line.rfind("v_", 0) != 0 || equals == std::string::npos || close == std::string::npos) {
            ADD_FAILURE() << "not a record line: " << line;
            continue;
        }
        out.emplace_back(line.substr(2, equals - 2), line.substr(equals + 2, close - equals - 2));
    }
    return out;
}

class SimMarketTest : public ::testing::Test {
protected:
    void SetUp() override { start("2024-11-08 15:30"); } // a Friday after the close

    void start(const std::string& time, std::uint64_t seed = 7) {
        if (market) market->stop();
        SimMarket::Options options;
        options.seed = seed;
        options.time = chinaTime(time);
        market = std::make_unique<SimMarket>(options);
        std::string error;
        ASSERT_TRUE(market->start(&error)) << error;
    }

    httplib::Result get(const std::string& target, std::size_t listener = 0, double timeoutSeconds = 5) {
        httplib::Client client("127.0.0.1", market->port(listener));
        const auto timeout = std::chrono::milliseconds(static_cast<int>(timeoutSeconds * 1000));
        client.set_read_timeout(timeout);
        client.set_connection_timeout(timeout);
        return client.Get(target.c_str());
    }

    std::string body(const std::string& target, std::size_t listener = 0) {
        const auto result = get(target, listener);
        if (!result) {
            ADD_FAILURE() << "no reply to " << target;
            return {};
        }
        EXPECT_EQ(result->status, 200) << target;
        return result->body;
    }

    Json json(const std::string& target, std::size_t listener = 0) {
        const Json parsed = Json::parse(body(target, listener), nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << target;
        return parsed;
    }

    std::vector<std::string> snapshotFields(const std::string& symbol) {
        const auto found = records(body("/utf8/q=" + symbol));
        if (found.size() != 1) {
            ADD_FAILURE() << "expected one record for " << symbol;
            return std::vector<std::string>(88);
        }
        return split(found[0].second, '~');
    }

    Json post(const std::string& target, const Json& payload, int expectedStatus = 200) {
        httplib::Client client("127.0.0.1", market->port());
        const auto result = client.Post(target.c_str(), payload.dump(), "application/json");
        if (!result) {
            ADD_FAILURE() << "no reply to " << target;
            return {};
        }
        EXPECT_EQ(result->status, expectedStatus) << result->body;
        return Json::parse(result->body, nullptr, false);
    }

    static std::string trendsTarget(const std::string& secid) {
        return "/api/qt/stock/trends2/get?secid=" + secid +
               "&fields1=f1,f2,f3,f4,f5,f6,f7,f8,f9,f10,f11,f12,f13&fields2=f51,f52,f53,f54,f55,f56,f57,f58&iscr=0&"
               "ndays=1";
    }
    static std::string flowTarget(const std::string& secid) {
        return "/api/qt/stock/fflow/kline/get?lmt=0&klt=1&secid=" + secid +
               "&fields1=f1,f2,f3,f7&fields2=f51,f52,f53,f54,f55,f56";
    }

    std::unique_ptr<SimMarket> market;
};

TEST_F(SimMarketTest, SnapshotRecordsCarryEightyEightFieldsAtTheirPositions) {
    const std::string reply = body("/utf8/q=sh600519,sz000001,sh510300");
    const auto found = records(reply);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].first, "sh600519");
    EXPECT_EQ(found[1].first, "sz000001");
    for (const auto& [symbol, payload] : found) {
        ASSERT_FALSE(payload.empty());
        EXPECT_EQ(payload.back(), '~') << symbol;
        const std::vector<std::string> f = split(payload, '~');
        ASSERT_EQ(f.size(), 88u) << symbol;
        EXPECT_EQ(f[2], symbol.substr(2));
        EXPECT_EQ(f[30], "20241108150003") << "after the close the stamp stays at the close";
        const std::vector<std::string> trade = split(f[35], '/');
        ASSERT_EQ(trade.size(), 3u);
        EXPECT_EQ(trade[0], f[3]);
        EXPECT_EQ(trade[1], f[6]);
        EXPECT_NEAR(num(trade[2]) / 10000.0, num(f[37]), 1.0) << "field 37 is the turnover in 10,000 yuan";
        EXPECT_GE(num(f[33]), num(f[3]));
        EXPECT_LE(num(f[34]), num(f[3]));
        EXPECT_GT(num(f[6]), 0);
    }
    const std::vector<std::string> moutai = split(found[0].second, '~');
    EXPECT_EQ(moutai[1], "贵州茅台");
    EXPECT_EQ(decimalsOf(moutai[3]), 2);
    const std::vector<std::string> etf = split(found[2].second, '~');
    EXPECT_EQ(etf[1], "沪深300ETF");
    EXPECT_EQ(decimalsOf(etf[3]), 3) << "funds trade in thousandths of a yuan";
    EXPECT_EQ(decimalsOf(etf[4]), 3);
}

TEST_F(SimMarketTest, SnapshotAnswersNoneMatchOnlyWhenNoSymbolIsKnown) {
    EXPECT_EQ(body("/utf8/q=sz600519,xx000001,sh12345"), "v_pv_none_match=\"1\";\n")
        << "a Shanghai code under the Shenzhen prefix is not a listed symbol";
    const auto mixed = records(body("/utf8/q=bogus,sz300999"));
    ASSERT_EQ(mixed.size(), 1u);
    const std::vector<std::string> f = split(mixed[0].second, '~');
    EXPECT_EQ(f[1], "模拟300999") << "an unlisted code trades under a generic name";
    EXPECT_GT(num(f[3]), 0);
}

TEST_F(SimMarketTest, TrendsHoldTheWholeDayAndAgreeWithTheSnapshot) {
    const Json reply = json(trendsTarget("1.600519"));
    const Json& data = reply["data"];
    EXPECT_EQ(data["name"], "贵州茅台");
    const auto& trends = data["trends"];
    ASSERT_EQ(trends.size(), 241u);
    EXPECT_EQ(trends[0].get<std::string>().substr(0, 16), "2024-11-08 09:30");
    EXPECT_EQ(trends[120].get<std::string>().substr(11, 5), "11:30");
    EXPECT_EQ(trends[121].get<std::string>().substr(11, 5), "13:01") << "no minutes over lunch";
    EXPECT_EQ(trends[240].get<std::string>().substr(11, 5), "15:00");

    double high = 0, low = 1e18, volume = 0, amount = 0;
    std::vector<std::string> last;
    for (const auto& line : trends) {
        last = split(line.get<std::string>(), ',');
        ASSERT_EQ(last.size(), 8u);
        EXPECT_GE(num(last[3]), std::max(num(last[1]), num(last[2])));
        EXPECT_LE(num(last[4]), std::min(num(last[1]), num(last[2])));
        high = std::max(high, num(last[3]));
        low = std::min(low, num(last[4]));
        volume += num(last[5]);
        amount += num(last[6]);
    }
    const std::vector<std::string> f = snapshotFields("sh600519");
    EXPECT_EQ(last[2], f[3]) << "the last minute's close is the snapshot price";
    EXPECT_DOUBLE_EQ(data["preClose"].get<double>(), num(f[4]));
    EXPECT_DOUBLE_EQ(high, num(f[33]));
    EXPECT_DOUBLE_EQ(low, num(f[34]));
    EXPECT_DOUBLE_EQ(volume, num(f[6]));
    EXPECT_NEAR(amount, num(split(f[35], '/')[2]), 1.0);
    EXPECT_NEAR(num(last[7]), amount / (volume * 100), 0.001) << "f58 is the running average price";
}

TEST_F(SimMarketTest, UnknownEastmoneyIdsGetRc100AndNullData) {
    for (const std::string secid : {"1.60051", "2.600519", "600519"}) {
        const Json reply = json(trendsTarget(secid));
        EXPECT_EQ(reply["rc"], 100) << secid;
        EXPECT_TRUE(reply["data"].is_null()) << secid;
    }
    EXPECT_TRUE(json(flowTarget("x.1"))["data"].is_null());
}

TEST_F(SimMarketTest, TencentMinuteLinesAreCumulativeAndCarryTheQuoteFields) {
    const Json reply = json("/appstock/app/minute/query?code=sz000001");
    const Json& symbolData = reply["data"]["sz000001"];
    const auto& lines = symbolData["data"]["data"];
    ASSERT_EQ(lines.size(), 241u);
    EXPECT_EQ(lines[0].get<std::string>().substr(0, 4), "0930") << "the auction is in the first line";
    EXPECT_EQ(lines[240].get<std::string>().substr(0, 4), "1500");
    double previousVolume = 0, previousAmount = 0;
    std::vector<std::string> pieces;
    for (const auto& line : lines) {
        pieces = split(line.get<std::string>(), ' ');
        ASSERT_EQ(pieces.size(), 4u);
        EXPECT_GT(num(pieces[2]), previousVolume);
        EXPECT_GT(num(pieces[3]), previousAmount);
        previousVolume = num(pieces[2]);
        previousAmount = num(pieces[3]);
    }
    const auto& qt = symbolData["qt"]["sz000001"];
    ASSERT_EQ(qt.size(), 88u);
    EXPECT_EQ(qt[1], "平安银行");
    EXPECT_EQ(qt[3].get<std::string>(), pieces[1]);
    EXPECT_EQ(qt[6].get<std::string>(), pieces[2]) << "day volume = last cumulative volume";
}

TEST_F(SimMarketTest, FundFlowStartsAtTheFirstMinuteAndBothSourcesAgree) {
    const Json em = json(flowTarget("1.510300"));
    const auto& klines = em["data"]["klines"];
    ASSERT_EQ(klines.size(), 240u);
    EXPECT_EQ(klines[0].get<std::string>(),
              klines[0].get<std::string>().substr(0, 10) + " 09:31" + klines[0].get<std::string>().substr(16));
    const std::vector<std::string> lastEm = split(klines[239].get<std::string>(), ',');
    ASSERT_EQ(lastEm.size(), 6u);
    EXPECT_EQ(lastEm[0], "2024-11-08 15:00");
    EXPECT_NEAR(num(lastEm[1]) + num(lastEm[2]) + num(lastEm[3]), 0.0, 1.0) << "main, retail and medium orders net out";

    const Json qq = json("/cgi/cgi-bin/fundflow/hsfundtab?code=sh510300&type=todayFundTrend");
    const auto& minList = qq["data"]["todayFundTrend"]["minList"];
    ASSERT_EQ(minList.size(), 240u);
    const std::string time = minList[0]["time"];
    EXPECT_EQ(time, "20241108093100");
    EXPECT_NEAR(num(minList[239]["MainNetInflow"].get<std::string>()), num(lastEm[1]), 0.1);
    EXPECT_NEAR(num(minList[239]["SmallNetInflow"].get<std::string>()), num(lastEm[2]), 0.1);
}

TEST_F(SimMarketTest, DailyCandlesEndWithTodayAsTheSnapshotShowsIt) {
    const Json reply = json("/appstock/app/fqkline/get?param=sh600519,day,,,320,qfq");
    const auto& rows = reply["data"]["sh600519"]["qfqday"];
    ASSERT_EQ(rows.size(), 320u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 6u);
        for (const auto& cell : row) EXPECT_TRUE(cell.is_string());
        EXPECT_GE(num(row[3]), std::max(num(row[1]), num(row[2])));
        EXPECT_LE(num(row[4]), std::min(num(row[1]), num(row[2])));
    }
    const auto& today = rows[319];
    const std::vector<std::string> f = snapshotFields("sh600519");
    EXPECT_EQ(today[0], "2024-11-08");
    EXPECT_EQ(today[1].get<std::string>(), f[5]);
    EXPECT_EQ(today[2].get<std::string>(), f[3]);
    EXPECT_EQ(today[3].get<std::string>(), f[33]);
    EXPECT_EQ(today[4].get<std::string>(), f[34]);
    EXPECT_DOUBLE_EQ(num(today[5]), num(f[6]));
    EXPECT_EQ(rows[318][2].get<std::string>(), f[4]) << "yesterday's close is today's previous close";
    EXPECT_EQ(rows[318][0], "2024-11-07");
    EXPECT_EQ(rows[314][0], "2024-11-01") << "weekends have no candle";

    const Json index = json("/appstock/app/fqkline/get?param=sh000001,day,,,5,qfq");
    EXPECT_TRUE(index["data"]["sh000001"].contains("day")) << "indices are never adjusted";
    EXPECT_EQ(index["data"]["sh000001"]["day"].size(), 5u);
    const Json plain = json("/appstock/app/fqkline/get?param=sz000001,day,,,3,");
    EXPECT_TRUE(plain["data"]["sz000001"].contains("day"));
}

TEST_F(SimMarketTest, SinaCandlesAreStringsMatchingTheTencentCandles) {
    const Json sina = json("/quotes_service/api/json_v2.php/CN_MarketData.getKLineData?symbol=sz300750&scale=240&ma="
                           "no&datalen=4");
    ASSERT_TRUE(sina.is_array());
    ASSERT_EQ(sina.size(), 4u);
    const Json qq = json("/appstock/app/fqkline/get?param=sz300750,day,,,4,qfq");
    const auto& rows = qq["data"]["sz300750"]["qfqday"];
    for (std::size_t i = 0; i < 4; ++i) {
        for (const char* key : {"day", "open", "high", "low", "close", "volume"})
            EXPECT_TRUE(sina[i][key].is_string()) << key;
        EXPECT_EQ(sina[i]["day"], rows[i][0]);
        EXPECT_DOUBLE_EQ(num(sina[i]["close"]), num(rows[i][2]));
        EXPECT_DOUBLE_EQ(num(sina[i]["volume"]), num(rows[i][5]) * 100) << "Sina counts shares, not lots";
    }
    EXPECT_EQ(body("/quotes_service/api/json_v2.php/CN_MarketData.getKLineData?symbol=zz1&datalen=4"), "null");
}

TEST_F(SimMarketTest, SuggestionsFindByPinyinChineseNameAndCode) {
    EXPECT_EQ(body("/s3/?q=gzmt&t=all"), "v_hint=\"sh~600519~\\u8d35\\u5dde\\u8305\\u53f0~gzmt~GP-A\";");
    EXPECT_EQ(body("/s3/?q=%E8%B4%B5%E5%B7%9E%E8%8C%85%E5%8F%B0&t=all"), body("/s3/?q=GZMT&t=all"));
    const std::string etf = body("/s3/?q=159915&t=all");
    EXPECT_NE(etf.find("sz~159915~"), std::string::npos);
    EXPECT_NE(etf.find("~cybetf~ETF\""), std::string::npos);
    const std::string many = body("/s3/?q=hs300&t=all");
    EXPECT_GE(split(many, '^').size(), 2u);
    EXPECT_EQ(body("/s3/?q=qqqqq&t=all"), "v_hint=\"N\";");
}

TEST_F(SimMarketTest, TheClockDecidesHowFarTheDayHasGone) {
    start("2024-11-08 09:20");
    EXPECT_EQ(json(trendsTarget("0.000001"))["data"]["trends"].size(), 0u);
    std::vector<std::string> f = snapshotFields("sz000001");
    EXPECT_EQ(f[3], f[4]) << "before the open the price is the previous close";
    EXPECT_EQ(f[6], "0");
    const Json candles = json("/appstock/app/fqkline/get?param=sz000001,day,,,2,qfq");
    EXPECT_EQ(candles["data"]["sz000001"]["qfqday"][1][0], "2024-11-07") << "no candle for a day not yet traded";

    const std::pair<const char*, std::size_t> steps[] = {
        {"2024-11-08 09:30", 1},   {"2024-11-08 10:00", 31},  {"2024-11-08 11:30", 121}, {"2024-11-08 12:10", 121},
        {"2024-11-08 13:05", 126}, {"2024-11-08 15:00", 241}, {"2024-11-09 10:00", 241}, // a Saturday shows Friday
    };
    double firstPrice = 0;
    for (const auto& [time, minutes] : steps) {
        ASSERT_TRUE(market->setTime(chinaTime(time)));
        const Json reply = json(trendsTarget("0.000001"));
        const auto& trends = reply["data"]["trends"];
        ASSERT_EQ(trends.size(), minutes) << time;
        EXPECT_EQ(trends[0].get<std::string>().substr(0, 10), "2024-11-08");
        const std::string lastClose = split(trends[minutes - 1].get<std::string>(), ',')[2];
        EXPECT_EQ(snapshotFields("sz000001")[3], lastClose) << time;
        if (firstPrice == 0) firstPrice = num(split(trends[0].get<std::string>(), ',')[2]);
        EXPECT_DOUBLE_EQ(num(split(trends[0].get<std::string>(), ',')[2]), firstPrice)
            << "minutes already traded never change";
    }
    EXPECT_EQ(snapshotFields("sz000001")[30], "20241108150003");
}

TEST_F(SimMarketTest, TheSeedMakesTheMarketRepeatable) {
    const std::string first = body(trendsTarget("1.601318"));
    start("2024-11-08 15:30", 7);
    EXPECT_EQ(body(trendsTarget("1.601318")), first);
    start("2024-11-08 15:30", 8);
    EXPECT_NE(body(trendsTarget("1.601318")), first);
}

TEST_F(SimMarketTest, UnlistedFundCodesTradeAsEtfsWithThreeDecimals) {
    const std::vector<std::string> f = snapshotFields("sz159999");
    EXPECT_EQ(f[1], "模拟ETF9999");
    EXPECT_EQ(decimalsOf(f[3]), 3);
    EXPECT_NE(body("/s3/?q=159999&t=all").find("~ETF\""), std::string::npos) << "search lists it as a fund";
    const std::vector<std::string> stock = snapshotFields("sh603999");
    EXPECT_EQ(decimalsOf(stock[3]), 2);
}

TEST_F(SimMarketTest, TheOldSnapshotPathAnswersInGbk) {
    const std::string reply = body("/q=sh600519");
    EXPECT_FALSE(TextFormat::isValidUtf8(reply));
    EXPECT_NE(reply.find("\xb9\xf3\xd6\xdd\xc3\xa9\xcc\xa8"), std::string::npos) << "贵州茅台 in GBK";
}

TEST(SimMarketModel, TradingMinutesFollowTheExchangeDay) {
    EXPECT_EQ(MarketModel::minutesDone(9 * 60 + 29), 0);
    EXPECT_EQ(MarketModel::minutesDone(9 * 60 + 30), 1);
    EXPECT_EQ(MarketModel::minutesDone(11 * 60 + 30), 121);
    EXPECT_EQ(MarketModel::minutesDone(13 * 60), 121);
    EXPECT_EQ(MarketModel::minutesDone(13 * 60 + 1), 122);
    EXPECT_EQ(MarketModel::minutesDone(15 * 60), 241);
    EXPECT_EQ(MarketModel::minutesDone(23 * 60), 241);
    const std::vector<int>& labels = MarketModel::minuteLabels();
    ASSERT_EQ(labels.size(), 241u);
    EXPECT_EQ(labels[120], 11 * 60 + 30);
    EXPECT_EQ(labels[121], 13 * 60 + 1);

    const int friday = MarketModel::dayNumber(2024, 11, 8);
    const CivilTime back = MarketModel::civilDay(friday);
    EXPECT_EQ(back.year, 2024);
    EXPECT_EQ(back.month, 11);
    EXPECT_EQ(back.day, 8);
    EXPECT_EQ(back.weekday, 5);
    const MarketModel model;
    EXPECT_FALSE(model.isTradingDay(friday + 1));
    EXPECT_EQ(model.previousTradingDay(friday + 3), friday) << "Monday follows Friday";
    EXPECT_EQ(MarketModel::civilDay(MarketModel::dayNumber(2000, 2, 29)).day, 29);
}

TEST(SimMarketModel, AHolidayShowsTheLastTradingDayAndTheNextDayContinuesFromIt) {
    const int thursday = MarketModel::dayNumber(2024, 11, 7);
    const MarketModel plain(3);
    const MarketModel model(3, {thursday + 1});
    Security s;
    ASSERT_TRUE(Universe::byCode("600519", s));

    const SimView holiday = model.view(s, chinaTime("2024-11-08 10:30"));
    EXPECT_EQ(holiday.day, thursday);
    EXPECT_EQ(Replies::quoteFields(holiday)[30], "20241107150003") << "the stamp stays on Thursday's close";
    EXPECT_EQ(holiday.minutes.size(), 241u);
    EXPECT_DOUBLE_EQ(holiday.price, plain.closeOf(s, thursday));

    const SimView monday = model.view(s, chinaTime("2024-11-11 10:30"));
    EXPECT_DOUBLE_EQ(monday.prevClose, model.closeOf(s, thursday)) << "Monday follows Thursday";
    const auto candles = model.candles(monday, 3);
    ASSERT_EQ(candles.size(), 3u);
    EXPECT_EQ(candles[1].day, thursday) << "no candle for the holiday";
    EXPECT_TRUE(plain.isTradingDay(thursday + 1));
}

TEST(SimMarketModel, APinBeforeTheOpenMovesOnlyThePrice) {
    MarketModel model(1);
    Security s;
    ASSERT_TRUE(Universe::byCode("600519", s));
    const Instant preOpen = chinaTime("2024-11-08 09:00");
    const SimView plain = model.view(s, preOpen);
    EXPECT_TRUE(plain.minutes.empty());
    EXPECT_DOUBLE_EQ(plain.price, plain.prevClose);
    model.pin("600519", 1700.0);
    const SimView pinned = model.view(s, preOpen);
    EXPECT_DOUBLE_EQ(pinned.price, 1700.0);
    EXPECT_DOUBLE_EQ(pinned.prevClose, plain.prevClose);
    EXPECT_EQ(pinned.volume, 0);
}

} // namespace
} // namespace glimmer::sim
