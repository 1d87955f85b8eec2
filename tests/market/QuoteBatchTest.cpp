#include "market/QuoteBatch.h"
#include "market/ReplyText.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::dataDir;
using testing::readFile;

const Instant fetchedAt = Instant{} + std::chrono::seconds(1731049203);

std::string fixture(const std::string& name) {
    return readFile(dataDir() / "market" / name);
}

/// A payload with `count` fields, all empty but the name.
std::string payloadWithFields(std::size_t count) {
    std::string payload = "1~名称";
    for (std::size_t i = 2; i < count; ++i) payload += '~';
    return payload;
}

TEST(QuoteBatch, ParsesEveryRecordOfARealReply) {
    const auto quotes = QuoteBatch::parse(fixture("tencent_snapshot_utf8.txt"), fetchedAt);
    ASSERT_EQ(quotes.size(), 3u);

    const Quote& maotai = quotes.at("600519");
    EXPECT_EQ(maotai.name, "贵州茅台");
    EXPECT_EQ(maotai.code, "600519");
    EXPECT_DOUBLE_EQ(maotai.price, 1538.00);
    EXPECT_DOUBLE_EQ(maotai.prevClose, 1540.50);
    EXPECT_DOUBLE_EQ(maotai.open, 1541.00);
    EXPECT_DOUBLE_EQ(maotai.high, 1552.00);
    EXPECT_DOUBLE_EQ(maotai.low, 1530.10);
    EXPECT_DOUBLE_EQ(maotai.volume, 23650);
    EXPECT_DOUBLE_EQ(maotai.amount, 3644583250);
    EXPECT_EQ(maotai.tradeDate, "2024-11-08");
    EXPECT_EQ(maotai.quoteTime, "15:00");
    EXPECT_EQ(maotai.updatedAt, fetchedAt);

    const Quote& etf = quotes.at("510300");
    EXPECT_EQ(etf.name, "沪深300ETF");
    EXPECT_DOUBLE_EQ(etf.price, 4.012) << "ETF prices keep three decimals";
    EXPECT_DOUBLE_EQ(quotes.at("000001").prevClose, 11.38);
}

TEST(QuoteBatch, GbkReplyDecodesToTheSameQuotes) {
    const auto raw = fixture("tencent_snapshot_gbk.txt");
    const auto text = ReplyText::decode(raw);
    ASSERT_TRUE(text);
    EXPECT_EQ(QuoteBatch::parse(*text, fetchedAt), QuoteBatch::parse(fixture("tencent_snapshot_utf8.txt"), fetchedAt));
}

TEST(QuoteBatch, UnknownSymbolsReplyHasNoQuotes) {
    const auto text = fixture("tencent_snapshot_none.txt");
    EXPECT_TRUE(QuoteBatch::parse(text, fetchedAt).empty());
    EXPECT_EQ(QuoteBatch::records(text).size(), 1u) << "v_pv_none_match is a record, but not a quote";
}

TEST(QuoteBatch, ProviderQuirksInOneReply) {
    const auto quotes = QuoteBatch::parse(fixture("tencent_snapshot_quirks.txt"), fetchedAt);
    // Suspended: no last price, so the previous close stands in; no turnover part, no field 37 value.
    const Quote& suspended = quotes.at("000651");
    EXPECT_DOUBLE_EQ(suspended.price, 41.27);
    EXPECT_DOUBLE_EQ(suspended.amount, 0);
    EXPECT_EQ(suspended.quoteTime, "09:15");
    // The short record of an unknown symbol and the record without a name are dropped.
    EXPECT_FALSE(quotes.contains("123456"));
    EXPECT_FALSE(quotes.contains("600000"));
    // Field 2 empty: the code comes from the symbol.
    ASSERT_TRUE(quotes.contains("300750"));
    EXPECT_EQ(quotes.at("300750").code, "300750");
    // Two records for one code: the later wins.
    EXPECT_DOUBLE_EQ(quotes.at("601318").price, 50.36);
    EXPECT_EQ(quotes.size(), 3u);
}

TEST(QuoteBatch, RecordNeedsMoreThan35Fields) {
    EXPECT_FALSE(QuoteBatch::parseRecord("sh600519", payloadWithFields(35), fetchedAt));
    EXPECT_TRUE(QuoteBatch::parseRecord("sh600519", payloadWithFields(36), fetchedAt));
}

TEST(QuoteBatch, ZeroPriceFallsBackToPreviousClose) {
    auto fields = std::vector<std::string>(40);
    fields[1] = "平安银行";
    fields[2] = "000001";
    fields[3] = "0.00";
    fields[4] = "12.34";
    std::string payload;
    for (std::size_t i = 0; i < fields.size(); ++i) payload += (i ? "~" : "") + fields[i];
    const auto quote = QuoteBatch::parseRecord("sz000001", payload, fetchedAt);
    ASSERT_TRUE(quote);
    EXPECT_DOUBLE_EQ(quote->price, 12.34);
    EXPECT_DOUBLE_EQ(quote->open, 0) << "unparsable fields read as 0";
}

TEST(QuoteBatch, TurnoverFromTheSlashFieldElseFromTenThousands) {
    auto quoteWith = [](const std::string& field35, const std::string& field37) {
        std::vector<std::string> fields(38);
        fields[1] = "X";
        fields[2] = "600000";
        fields[35] = field35;
        fields[37] = field37;
        std::string payload;
        for (std::size_t i = 0; i < fields.size(); ++i) payload += (i ? "~" : "") + fields[i];
        return QuoteBatch::parseRecord("sh600000", payload, fetchedAt);
    };
    EXPECT_DOUBLE_EQ(quoteWith("12.3/456/5600000", "1")->amount, 5600000);
    EXPECT_DOUBLE_EQ(quoteWith("12.3/456", "560.5")->amount, 5605000);
    EXPECT_DOUBLE_EQ(quoteWith("12.3//456//0", "2")->amount, 20000) << "a zero third part is no turnover";
    EXPECT_DOUBLE_EQ(quoteWith("", "")->amount, 0);
}

TEST(QuoteBatch, NonFiniteNumbersAreAbsent) {
    std::vector<std::string> fields(38);
    fields[1] = "X";
    fields[2] = "600000";
    fields[3] = "inf";
    fields[4] = "nan";
    fields[6] = "1e999";
    fields[33] = "12.5abc";
    std::string payload;
    for (std::size_t i = 0; i < fields.size(); ++i) payload += (i ? "~" : "") + fields[i];
    const auto quote = QuoteBatch::parseRecord("sh600000", payload, fetchedAt);
    ASSERT_TRUE(quote);
    EXPECT_EQ(quote->price, 0);
    EXPECT_EQ(quote->prevClose, 0);
    EXPECT_EQ(quote->volume, 0);
    EXPECT_EQ(quote->high, 0);
}

TEST(QuoteBatch, TimeStampSplitters) {
    EXPECT_EQ(QuoteBatch::tradeDate("20241108150003"), "2024-11-08");
    EXPECT_EQ(QuoteBatch::quoteTime("20241108150003"), "15:00");
    EXPECT_EQ(QuoteBatch::tradeDate("20241108"), "2024-11-08");
    EXPECT_EQ(QuoteBatch::quoteTime("20241108"), std::nullopt);
    EXPECT_EQ(QuoteBatch::tradeDate(""), "");
    EXPECT_EQ(QuoteBatch::tradeDate("2024110"), "");
    // Characters, not bytes: a garbled stamp is never cut inside a character.
    EXPECT_EQ(QuoteBatch::tradeDate("二〇二四年十一月八日"), "二〇二四-年十-一月");
}

TEST(QuoteBatch, RecordScannerKeepsNonEmptyPairsInOrder) {
    const auto found =
        QuoteBatch::records("v_sh600519=\"a~b\";\nv_=\"x\";\nv_sz000001=\"\";\nv_sz000002=\"c\";\nv_sz3=\"");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], (std::pair<std::string, std::string>{"sh600519", "a~b"}));
    EXPECT_EQ(found[1], (std::pair<std::string, std::string>{"sz000002", "c"}));
}

} // namespace
} // namespace glimmer
