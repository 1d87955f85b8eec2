#include "simmarket/SimMarket.h"

#include <gtest/gtest.h>

namespace glimmer::sim {
namespace {

Instant chinaTime(const std::string& text) {
    Instant instant;
    EXPECT_TRUE(SimMarket::parseChinaTime(text, instant)) << text;
    return instant;
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
