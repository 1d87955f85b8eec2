#include "model/Holdings.h"
#include "model/HoldingsText.h"
#include "model/MarketEntry.h"
#include "model/TextFormat.h"

#include "support/CommaLocale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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
    return Quote{.code = "510300", .price = price, .prevClose = prevClose};
}

TEST(Holdings, FiguresMultiplyOutToTheFenNumbersOutsideTheirRangeAreRefusedAndMissingPartsLeaveOutWhatTheyFeed) {
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
        ASSERT_TRUE(f && f->todayProfit && f->totalProfit && f->totalPercent) << c.what;
        EXPECT_EQ(f->shares, c.shares) << c.what;
        EXPECT_DOUBLE_EQ(f->marketValue, c.marketValue) << c.what;
        EXPECT_DOUBLE_EQ(*f->todayProfit, c.today) << c.what;
        EXPECT_DOUBLE_EQ(*f->totalProfit, c.total) << c.what;
        EXPECT_NEAR(*f->totalPercent, (c.price - c.cost) / c.cost * 100, 1e-9) << c.what;
    }
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(std::tuple(Holdings::sharesFrom(0), Holdings::sharesFrom(1200.0),
                         Holdings::sharesFrom(double(Holdings::maxShares))),
              std::tuple(0, 1200, Holdings::maxShares));
    for (double bad : {-1.0, 10.5, inf, nan, double(Holdings::maxShares) * 10}) EXPECT_FALSE(Holdings::sharesFrom(bad));
    EXPECT_EQ(std::tuple(Holdings::costFrom(0.001), Holdings::costFrom(Holdings::maxCost)),
              std::tuple(0.001, Holdings::maxCost));
    for (double bad : {0.0, -3.0, inf, -inf, nan, 1e20}) EXPECT_FALSE(Holdings::costFrom(bad));

    const auto noPrevClose = Holdings::figures(held(100, 10), quote(11, 0));
    ASSERT_TRUE(noPrevClose);
    EXPECT_EQ(std::pair(noPrevClose->todayProfit, noPrevClose->totalProfit),
              std::pair(std::optional<double>(), std::optional<double>(100)));
    const auto noCost = Holdings::figures(held(100, std::nullopt), quote(11, 10));
    ASSERT_TRUE(noCost);
    EXPECT_EQ(std::tuple(noCost->todayProfit, noCost->totalProfit, noCost->totalPercent),
              std::tuple(std::optional<double>(100), std::optional<double>(), std::optional<double>()));

    EXPECT_FALSE(Holdings::figures(held(0, 10), quote(11, 10))) << "zero shares show nothing";
    EXPECT_FALSE(Holdings::figures(held(std::nullopt, 10), quote(11, 10))) << "no holdings";
    EXPECT_FALSE(Holdings::figures(held(100, 10), std::nullopt)) << "no quote yet";
    EXPECT_FALSE(Holdings::figures(held(100, 10), quote(0, 10))) << "a quote without a price";
    std::vector<MarketEntry> entries;
    const auto add = [&](std::optional<std::int64_t> shares, std::optional<double> cost, std::optional<Quote> q) {
        entries.emplace_back(held(shares, cost)).quote = q;
    };
    add(100, 10, quote(11, 10.5));         // today +50, total +100
    add(200, std::nullopt, quote(5, 5.5)); // today -100
    add(300, 2, quote(3, 0));              // total +300, no previous close
    add(std::nullopt, 1, quote(3, 2));     // not held
    add(50, 1, std::nullopt);              // no quote
    EXPECT_EQ(Holdings::totals(entries), (HoldingTotals{3, 1100 + 1000 + 900, -50, 400}));
    EXPECT_EQ(Holdings::totals({}), HoldingTotals{});
}

TEST(HoldingsText, AmountsInYuanWanAndYi) {
    std::vector<std::string> texts;
    // Past what a 64-bit count of fen holds (1e30), the text stops growing instead of wrapping.
    for (const double yuan : {0.0, -0.004, 0.005, 1234.0, -1234.5, 9999.99, 10000.0, 56000.0, -56499.99, 56500.0,
                              123456789.0, -1234567890123.0, -1e30, 1e30, std::nan("")}) {
        texts.push_back(HoldingsText::amount(yuan, true));
    }
    for (const double yuan : {1234.0, 12345678.0, 99999499.99, 99999500.0}) {
        texts.push_back(HoldingsText::amount(yuan, false));
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"0.00", "0.00", "+0.01", "+1,234.00", "-1,234.50", "+9,999.99", "+1.0 万",
                                        "+5.6 万", "-5.6 万", "+5.7 万", "+1.23 亿", "-12345.68 亿", "-900000.00 亿",
                                        "+900000.00 亿", "—", "1,234.00", "1234.6 万", "9999.9 万", "1.00 亿"}));
    EXPECT_EQ(HoldingsText::amount(1234, true, true), "****");
}

TEST(HoldingsText, PercentsSharesMasksAndTheTrayLine) {
    std::vector<std::string> texts;
    for (const double percent : {3.456, -0.5, 0.001, -12.3449, -1e30}) texts.push_back(HoldingsText::percent(percent));
    EXPECT_EQ(texts, (std::vector<std::string>{"+3.46%", "-0.50%", "0.00%", "-12.34%", "-90000000000000.00%"}));
    EXPECT_EQ(HoldingsText::shares(1234567, false), "1,234,567");
    EXPECT_EQ(HoldingsText::shares(100, false), "100");
    WatchItem item = held(12300, 3.9125);
    EXPECT_EQ(HoldingsText::changeLine(item, false), "持仓变更 510300 沪深300ETF：持股 12,300，成本 3.9125");
    item.cost.reset();
    EXPECT_EQ(HoldingsText::changeLine(item, true), "持仓变更 510300 沪深300ETF：持股 ****，成本 未填");
    HoldingTotals totals;
    EXPECT_EQ(HoldingsText::summaryLine(totals, false), "") << "no position, no line";
    totals = HoldingTotals{2, 180000};
    EXPECT_EQ(HoldingsText::summaryLine(totals, false), "持仓市值 18.0 万");
    totals = HoldingTotals{2, 180000, std::nullopt, 56000};
    EXPECT_EQ(HoldingsText::summaryLine(totals, false), "持仓盈亏 +5.6 万") << "the card tests check the whole line";
}

TEST(MarketRecords, ChangesDisplayNamesAndEntryCopiesThatShareTheirBarsUntilOneChangesThem) {
    Quote q{.price = 12.5};
    EXPECT_EQ(q.changePercent(), 0.0) << "no previous close";
    q.prevClose = 10;
    EXPECT_EQ(std::pair(q.changePercent(), q.change()), std::pair(25.0, 2.5));
    const WatchItem item{"510300", "沪深300ETF", InstrumentKind::etf};
    EXPECT_EQ(displayName(nullptr, item), "沪深300ETF");
    q.name = "300ETF";
    EXPECT_EQ(displayName(&q, item), "300ETF") << "the provider's name first";

    MarketEntry a;
    a.minutes = std::vector<MinuteBar>{{"09:30", 10, 10, 100, 1000}};
    MarketEntry b = a;
    EXPECT_TRUE(b.minutes.sharesWith(a.minutes));
    b.minutes[0].price = 11;
    b.minutes.push_back({"09:31", 12, 11, 100, 1200});
    EXPECT_EQ(a.minutes.size(), 1u);
    EXPECT_EQ(a.minutes[0].price, 10);
    EXPECT_NE(a, b);
    b.minutes = a.minutes;
    EXPECT_EQ(a, b);
    b.minutes.clear();
    EXPECT_TRUE(b.minutes.empty() && a.minutes.size() == 1);
}

TEST(TextFormat, NumbersKeepTheirDecimalPointAndCharactersAreCodePoints) {
    EXPECT_EQ(TextFormat::shortest(350), "350");
    EXPECT_EQ(TextFormat::shortest(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(TextFormat::fixed(1.005, 2), "1.00");
    EXPECT_EQ(TextFormat::fixed(-0.126, 2), "-0.13");

    testing::CommaLocale german;
    ASSERT_TRUE(german.isActive()) << "localedef could not build " << testing::CommaLocale::name;
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.2f", 0.5);
    ASSERT_STREQ(printed, "0,50") << "the C library follows the locale";

    EXPECT_EQ((std::vector<std::string>{TextFormat::fixed(1421.5, 2), TextFormat::fixed(0.5, 2),
                                        TextFormat::signedFixed(1.5, 2), TextFormat::signedFixed(-0.25, 2),
                                        TextFormat::signedFixed(0, 2), TextFormat::shortest(0.55)}),
              (std::vector<std::string>{"1421.50", "0.50", "+1.50", "-0.25", "+0.00", "0.55"}));
    EXPECT_EQ(TextFormat::utf8Length("贵州茅台"), 4u);
    EXPECT_EQ(TextFormat::utf8Prefix("沪深300ETF", 4), "沪深30");
    EXPECT_EQ(TextFormat::utf8Prefix("ab", 4), "ab");
    EXPECT_EQ(TextFormat::utf8Prefix("😀x", 1), "😀");
    // A broken sequence counts as one character per bad byte and is never split further.
    EXPECT_EQ(TextFormat::utf8Length("a\xE4\xB8"), 3u);
    EXPECT_EQ(TextFormat::utf8Prefix("\xE4\xB8\xAD\xE6", 1), "\xE4\xB8\xAD");
    EXPECT_TRUE(TextFormat::isValidUtf8("中文 ok"));
    // Overlong, a surrogate, past U+10FFFF, GBK.
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xD6\xD0\xCE\xC4"})
        EXPECT_FALSE(TextFormat::isValidUtf8(bad)) << bad;
}

} // namespace
} // namespace glimmer
