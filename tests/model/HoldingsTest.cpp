#include "model/Holdings.h"
#include "model/HoldingsText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace glimmer {
namespace {

WatchItem held(std::optional<std::int64_t> shares, std::optional<double> cost) {
    WatchItem item{"510300", "沪深300ETF", InstrumentKind::etf};
    item.shares = shares;
    item.cost = cost;
    return item;
}

Quote quote(double price, double prevClose) {
    Quote q;
    q.code = "510300";
    q.price = price;
    q.prevClose = prevClose;
    return q;
}

TEST(Holdings, FiguresMultiplyOutToTheFenWithTwoAndThreeDecimalPrices) {
    struct Case {
        const char* what;
        double price, prevClose, cost;
        std::int64_t shares;
        double marketValue, today, total;
    };
    const Case cases[] = {
        {"stock, two decimals", 1520.35, 1510.10, 1400.5, 300, 456105.00, 3075.00, 35955.00},
        {"ETF, three decimals", 3.957, 3.912, 4.123, 12300, 48671.10, 553.50, -2041.80},
        // 0.015 yuan a share is an exact half fen at 1 share: a binary product would round down.
        {"half a fen rounds away from zero", 1.235, 1.220, 1.2, 1, 1.24, 0.02, 0.04},
        {"loss of half a fen", 1.220, 1.235, 1.3, 1, 1.22, -0.02, -0.08},
        {"big position", 1699.99, 1700.00, 1.5, 1'000'000'000, 1'699'990'000'000.00, -10'000'000.00,
         1'698'490'000'000.00},
    };
    for (const Case& c : cases) {
        const auto f = Holdings::figures(held(c.shares, c.cost), quote(c.price, c.prevClose));
        ASSERT_TRUE(f) << c.what;
        EXPECT_EQ(f->shares, c.shares) << c.what;
        EXPECT_DOUBLE_EQ(f->marketValue, c.marketValue) << c.what;
        ASSERT_TRUE(f->todayProfit && f->totalProfit && f->totalPercent) << c.what;
        EXPECT_DOUBLE_EQ(*f->todayProfit, c.today) << c.what;
        EXPECT_DOUBLE_EQ(*f->totalProfit, c.total) << c.what;
        EXPECT_NEAR(*f->totalPercent, (c.price - c.cost) / c.cost * 100, 1e-9) << c.what;
    }
}

TEST(Holdings, MissingPartsLeaveOutOnlyWhatTheyFeed) {
    const auto noPrevClose = Holdings::figures(held(100, 10), quote(11, 0));
    ASSERT_TRUE(noPrevClose);
    EXPECT_FALSE(noPrevClose->todayProfit);
    EXPECT_DOUBLE_EQ(*noPrevClose->totalProfit, 100);

    const auto noCost = Holdings::figures(held(100, std::nullopt), quote(11, 10));
    ASSERT_TRUE(noCost);
    EXPECT_DOUBLE_EQ(*noCost->todayProfit, 100);
    EXPECT_FALSE(noCost->totalProfit);
    EXPECT_FALSE(noCost->totalPercent);

    EXPECT_FALSE(Holdings::figures(held(0, 10), quote(11, 10))) << "zero shares show nothing";
    EXPECT_FALSE(Holdings::figures(held(std::nullopt, 10), quote(11, 10))) << "no holdings";
    EXPECT_FALSE(Holdings::figures(held(100, 10), std::nullopt)) << "no quote yet";
    EXPECT_FALSE(Holdings::figures(held(100, 10), quote(0, 10))) << "a quote without a price";
}

TEST(Holdings, TotalsAddWhatEachPositionHas) {
    std::vector<MarketEntry> entries;
    const auto add = [&](std::optional<std::int64_t> shares, std::optional<double> cost, std::optional<Quote> q) {
        MarketEntry e(held(shares, cost));
        e.quote = q;
        entries.push_back(e);
    };
    add(100, 10, quote(11, 10.5));         // today +50, total +100
    add(200, std::nullopt, quote(5, 5.5)); // today -100
    add(300, 2, quote(3, 0));              // total +300, no previous close
    add(std::nullopt, 1, quote(3, 2));     // not held
    add(50, 1, std::nullopt);              // no quote
    const HoldingTotals totals = Holdings::totals(entries);
    EXPECT_EQ(totals.positions, 3);
    EXPECT_DOUBLE_EQ(totals.marketValue, 1100 + 1000 + 900);
    EXPECT_DOUBLE_EQ(*totals.todayProfit, -50);
    EXPECT_DOUBLE_EQ(*totals.totalProfit, 400);

    EXPECT_EQ(Holdings::totals({}), HoldingTotals{});
}

TEST(Holdings, StoredAndTypedNumbersOutsideTheirRangeAreRefused) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Holdings::sharesFrom(0), 0);
    EXPECT_EQ(Holdings::sharesFrom(1200.0), 1200);
    EXPECT_EQ(Holdings::sharesFrom(double(Holdings::maxShares)), Holdings::maxShares);
    for (double bad : {-1.0, 10.5, inf, nan, double(Holdings::maxShares) * 10}) EXPECT_FALSE(Holdings::sharesFrom(bad));
    EXPECT_EQ(Holdings::costFrom(0.001), 0.001);
    EXPECT_EQ(Holdings::costFrom(Holdings::maxCost), Holdings::maxCost);
    for (double bad : {0.0, -3.0, inf, -inf, nan, 1e20}) EXPECT_FALSE(Holdings::costFrom(bad));
}

TEST(HoldingsText, AmountsInYuanWanAndYi) {
    const struct {
        double yuan;
        bool signedText;
        const char* text;
    } cases[] = {
        {0, true, "0.00"},
        {-0.004, true, "0.00"},
        {0.005, true, "+0.01"},
        {1234, true, "+1,234.00"},
        {-1234.5, true, "-1,234.50"},
        {1234, false, "1,234.00"},
        {9999.99, true, "+9,999.99"},
        {10000, true, "+1.0 万"},
        {56000, true, "+5.6 万"},
        {-56499.99, true, "-5.6 万"},
        {56500, true, "+5.7 万"},
        {12345678, false, "1234.6 万"},
        {99999499.99, false, "9999.9 万"},
        {99999500, false, "1.00 亿"},
        {123456789, true, "+1.23 亿"},
        {-1234567890123, true, "-12345.68 亿"},
        // Past what a 64-bit count of fen holds, the text stops growing instead of wrapping.
        {-1e30, true, "-900000.00 亿"},
        {1e30, true, "+900000.00 亿"},
    };
    for (const auto& c : cases) EXPECT_EQ(HoldingsText::amount(c.yuan, c.signedText), c.text) << c.yuan;
    EXPECT_EQ(HoldingsText::amount(std::nan(""), true), "—");
    EXPECT_EQ(HoldingsText::amount(1234, true, true), "****");
}

TEST(HoldingsText, PercentsSharesAndMasks) {
    EXPECT_EQ(HoldingsText::percent(3.456), "+3.46%");
    EXPECT_EQ(HoldingsText::percent(-0.5), "-0.50%");
    EXPECT_EQ(HoldingsText::percent(0.001), "0.00%");
    EXPECT_EQ(HoldingsText::percent(-12.3449), "-12.34%");
    EXPECT_EQ(HoldingsText::percent(-1e30), "-90000000000000.00%");
    EXPECT_EQ(HoldingsText::shares(1234567, false), "1,234,567");
    EXPECT_EQ(HoldingsText::shares(100, false), "100");
    EXPECT_EQ(HoldingsText::shares(100, true), "****");
    WatchItem item{"510300", "沪深300ETF", InstrumentKind::etf};
    item.shares = 12300;
    item.cost = 3.9125;
    EXPECT_EQ(HoldingsText::changeLine(item, false), "持仓变更 510300 沪深300ETF：持股 12,300，成本 3.9125");
    item.cost.reset();
    EXPECT_EQ(HoldingsText::changeLine(item, true), "持仓变更 510300 沪深300ETF：持股 ****，成本 未填");
}

TEST(HoldingsText, TrayLineHasThePartsTheTotalsHave) {
    HoldingTotals totals;
    EXPECT_EQ(HoldingsText::summaryLine(totals, false), "") << "no position, no line";
    totals.positions = 2;
    totals.marketValue = 180000;
    EXPECT_EQ(HoldingsText::summaryLine(totals, false), "持仓市值 18.0 万");
    totals.todayProfit = 1234;
    totals.totalProfit = 56000;
    EXPECT_EQ(HoldingsText::summaryLine(totals, false), "今日盈亏 +1,234.00 / 持仓盈亏 +5.6 万");
    EXPECT_EQ(HoldingsText::summaryLine(totals, true), "今日盈亏 **** / 持仓盈亏 ****");
    totals.todayProfit.reset();
    EXPECT_EQ(HoldingsText::summaryLine(totals, false), "持仓盈亏 +5.6 万");
}

} // namespace
} // namespace glimmer
