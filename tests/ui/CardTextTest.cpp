#include "card/CardText.h"

#include <QList>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;

/// Ten points per character, whatever the character: Chinese, Latin or emoji.
double tenPerCharacter(const QString& text) {
    return 10.0 * double(text.toUcs4().size());
}

TEST(CardBanner, LongMessagesLoseWholeCharactersFromTheEndButKeepFour) {
    // 40 characters, 400 points, into 120 points: 12 characters stay. Four-byte emoji and
    // three-byte Chinese characters: a byte cut would leave broken text.
    const std::tuple<std::string, double, QString> cases[] = {
        {"放量突破", 300, QStringLiteral("⚠ 放量突破")},
        {"", 300, QStringLiteral("⚠ ")},
        {"贵州茅台5分钟内快速拉升2.35%现价1712.50主力净流入3.21亿注意风险", 120,
         QStringLiteral("⚠ 贵州茅台5分钟内快速拉升")},
        {"主力资金持续流出", 5, QStringLiteral("⚠ 主力资金")},
        {"急跌", 5, QStringLiteral("⚠ 急跌")},
        {"🚀🚀快速拉升🔥🔥", 55, QStringLiteral("⚠ 🚀🚀快速拉")},
    };
    for (const auto& [message, width, shown] : cases)
        EXPECT_EQ(CardText::banner(message, width, tenPerCharacter), shown);
}

TEST(CardHeaderText, ChangeLineSignsOnlyRises) {
    const auto line = [](double price, double prevClose, int decimals) {
        Quote quote;
        quote.price = price;
        quote.prevClose = prevClose;
        return CardText::changeLine(quote, decimals);
    };
    EXPECT_EQ(line(1683.67, 1675.50, 2), QStringLiteral("+8.17  +0.49%"));
    EXPECT_EQ(line(3.852, 3.901, 3), QStringLiteral("-0.049  -1.26%"));
    EXPECT_EQ(line(10.5, 0, 2), QStringLiteral("+10.50  +0.00%"));
    EXPECT_EQ(line(10.5, 10.5, 2), QStringLiteral("0.00  0.00%"));
}

TEST(CardHeaderText, TimeJoinsTradeDayAndLastMinute) {
    MarketEntry entry(WatchItem{"600519", "贵州茅台", InstrumentKind::stock});
    EXPECT_EQ(CardText::timeText(entry), QString());
    Quote quote;
    quote.tradeDate = "2026-12-04";
    quote.quoteTime = "14:57:03";
    entry.quote = quote;
    EXPECT_EQ(CardText::timeText(entry), QStringLiteral("12-04 14:57:03"));
    entry.minutes.push_back({"15:00", 1683.67, 1680.41, 320, 5.4e7});
    EXPECT_EQ(CardText::timeText(entry), QStringLiteral("12-04 15:00"));
    entry.minutes.back().time.clear(); // an empty minute time falls back to the quote's
    EXPECT_EQ(CardText::timeText(entry), QStringLiteral("12-04 14:57:03"));
    entry.quote->tradeDate.clear();
    entry.quote->quoteTime.reset();
    EXPECT_EQ(CardText::timeText(entry), QString());
    entry.quote->tradeDate = "1204";
    EXPECT_EQ(CardText::timeText(entry), QStringLiteral("1204"));
}

TEST(CardHeaderText, NameCounterPlaceholderAndLock) {
    MarketEntry entry(WatchItem{"510300", "沪深300", InstrumentKind::etf});
    entry.quote = Quote{};
    EXPECT_EQ(CardText::name(entry), QStringLiteral("沪深300"));
    entry.quote->name = "沪深300ETF";
    EXPECT_EQ(CardText::name(entry), QStringLiteral("沪深300ETF"));
    EXPECT_EQ(CardText::counter(0, 0), QString());
    EXPECT_EQ(CardText::counter(11, 12), QStringLiteral("12/12"));
    EXPECT_EQ(CardText::placeholder(std::nullopt), QStringLiteral("添加股票后开始监控"));
    EXPECT_EQ(CardText::placeholder("股票池已全部隐藏"), QStringLiteral("股票池已全部隐藏"));
    EXPECT_EQ(CardText::lockLabel(intraday), QStringLiteral("·锁定分时"));
    EXPECT_EQ(CardText::lockLabel(std::nullopt), QString());
}

} // namespace
} // namespace glimmer
