#include "card/CardText.h"
#include "card/ViewSequence.h"

#include <QList>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using enum ChartView;
using Views = std::vector<ChartView>;

TEST(CardBanner, LongMessagesLoseWholeCharactersFromTheEndButKeepFour) {
    // Ten points a character; a cut through a four-byte emoji or three-byte Chinese character would break the text.
    const auto tenPerCharacter = [](const QString& text) { return 10.0 * double(text.toUcs4().size()); };
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

TEST(CardHeaderText, ChangeLineSignsOnlyRisesAndNameCounterPlaceholderAndLock) {
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

TEST(CardHeaderText, TimeJoinsTradeDayAndLastMinute) {
    MarketEntry entry(WatchItem{"600519", "贵州茅台", InstrumentKind::stock});
    EXPECT_EQ(CardText::timeText(entry), QString());
    entry.quote = Quote{};
    entry.quote->tradeDate = "2026-12-04";
    entry.quote->quoteTime = "14:57:03";
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

TEST(ViewSequence, KeepsDotOrderAndViewAfterStopsAtTheEndSoThePresenterSwitchesSecurityWhileNextAndStepWrap) {
    using namespace ViewSequence;
    const Views all{intraday, macd, fundFlow, volume, dailyCandles};
    EXPECT_EQ(enabledSequence({dailyCandles, volume, fundFlow, macd, intraday}), all);
    EXPECT_EQ(enabledSequence({dailyCandles, intraday, macd}), (Views{intraday, macd, dailyCandles}));
    EXPECT_EQ(enabledSequence({}), all);
    EXPECT_EQ(enabledSequence({volume, volume}), Views{volume});
    const Views seq = enabledSequence({intraday, macd, dailyCandles});
    EXPECT_EQ(viewAfter(intraday, seq), macd);
    EXPECT_EQ(viewAfter(dailyCandles, seq), std::nullopt);
    EXPECT_EQ(viewAfter(volume, enabledSequence({})), dailyCandles);
    EXPECT_EQ(viewAfter(intraday, Views{}), std::nullopt);
    EXPECT_EQ(viewAfter(fundFlow, seq), intraday); // a view outside the sequence starts it over
    EXPECT_EQ(nextView(dailyCandles, seq), intraday);
    EXPECT_EQ(nextView(macd, seq), dailyCandles);
    EXPECT_EQ(nextView(volume, seq), intraday);
    EXPECT_EQ(nextView(fundFlow, Views{}), intraday);
    // Steps from any distance land inside the list; an absent view counts as the first position.
    const Views three{intraday, macd, fundFlow};
    EXPECT_EQ(stepView(intraday, three, -1), fundFlow);
    EXPECT_EQ(stepView(fundFlow, three, +1), intraday);
    EXPECT_EQ(stepView(volume, three, +1), macd);
    EXPECT_EQ(stepView(intraday, {}, 1), std::nullopt);
    EXPECT_EQ(stepView(intraday, three, -4), fundFlow);
    EXPECT_EQ(stepView(macd, three, 7), fundFlow);
}

} // namespace
} // namespace glimmer
