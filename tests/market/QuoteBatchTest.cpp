#include "market/QuoteBatch.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using namespace testing;

const Instant fetchedAt = Instant{} + std::chrono::seconds(1731049203);

std::string fixture(const std::string& name) {
    return readFile(dataDir() / "market" / name);
}

/// A record of `count` fields, empty but the name "X", code 600000 and the ones given.
std::optional<Quote> record(std::map<std::size_t, std::string> set, std::size_t count = 38) {
    std::vector<std::string> fields(count);
    fields[1] = "X";
    fields[2] = "600000";
    for (auto& [index, value] : set) fields[index] = std::move(value);
    std::string payload;
    for (std::size_t i = 0; i < fields.size(); ++i) payload += (i ? "~" : "") + fields[i];
    return QuoteBatch::parseRecord("sh600000", payload, fetchedAt);
}

TEST(QuoteBatch, ParsesARealReplyWithItsQuirksRecordsOfThirtySixFieldsAndMoreTimeStampsAndTheRecordScanner) {
    auto quotes = QuoteBatch::parse(fixture("tencent_snapshot_utf8.txt"), fetchedAt);
    ASSERT_EQ(quotes.size(), 3u);

    EXPECT_EQ(quotes.at("600519"), (Quote{"600519", "贵州茅台", 1538.00, 1540.50, 1541.00, 1552.00, 1530.10, 23650,
                                          3644583250, "2024-11-08", "15:00", fetchedAt}));
    EXPECT_EQ(quotes.at("510300").name, "沪深300ETF");
    EXPECT_DOUBLE_EQ(quotes.at("510300").price, 4.012) << "ETF prices keep three decimals";
    EXPECT_DOUBLE_EQ(quotes.at("000001").prevClose, 11.38);
    EXPECT_TRUE(QuoteBatch::parse(fixture("tencent_snapshot_none.txt"), fetchedAt).empty()) << "unknown symbols";

    quotes = QuoteBatch::parse(fixture("tencent_snapshot_quirks.txt"), fetchedAt);
    // Suspended: no last price, so the previous close stands in; no turnover part, no field 37 value.
    const Quote& suspended = quotes.at("000651");
    EXPECT_EQ(std::tuple(suspended.price, suspended.amount, suspended.quoteTime),
              std::tuple(41.27, 0.0, std::optional<std::string>("09:15")));
    // The short record of an unknown symbol and the record without a name are dropped.
    EXPECT_FALSE(quotes.contains("123456"));
    EXPECT_FALSE(quotes.contains("600000"));
    // Field 2 empty: the code comes from the symbol.
    ASSERT_TRUE(quotes.contains("300750"));
    EXPECT_EQ(quotes.at("300750").code, "300750");
    // Two records for one code: the later wins.
    EXPECT_DOUBLE_EQ(quotes.at("601318").price, 50.36);
    EXPECT_EQ(quotes.size(), 3u);

    EXPECT_FALSE(record({}, 35));
    EXPECT_TRUE(record({}, 36));

    const auto closed = record({{3, "0.00"}, {4, "12.34"}});
    ASSERT_TRUE(closed);
    EXPECT_DOUBLE_EQ(closed->price, 12.34) << "a zero price falls back to the previous close";
    EXPECT_DOUBLE_EQ(closed->open, 0) << "unparsable fields read as 0";

    // Turnover from the slash field's third part, else field 37 in ten thousands.
    EXPECT_DOUBLE_EQ(record({{35, "12.3/456/5600000"}, {37, "1"}})->amount, 5600000);
    EXPECT_DOUBLE_EQ(record({{35, "12.3/456"}, {37, "560.5"}})->amount, 5605000);
    EXPECT_DOUBLE_EQ(record({{35, "12.3//456//0"}, {37, "2"}})->amount, 20000) << "a zero third part is none";
    EXPECT_DOUBLE_EQ(record({})->amount, 0);

    const auto odd = record({{3, "inf"}, {4, "nan"}, {6, "1e999"}, {33, "12.5abc"}});
    ASSERT_TRUE(odd);
    EXPECT_EQ(std::tuple(odd->price, odd->prevClose, odd->volume, odd->high), std::tuple(0, 0, 0, 0))
        << "non-finite numbers are absent";

    EXPECT_EQ(QuoteBatch::tradeDate("20241108150003"), "2024-11-08");
    EXPECT_EQ(QuoteBatch::quoteTime("20241108150003"), "15:00");
    EXPECT_EQ(QuoteBatch::tradeDate("20241108"), "2024-11-08");
    EXPECT_EQ(QuoteBatch::quoteTime("20241108"), std::nullopt);
    EXPECT_EQ(QuoteBatch::tradeDate("") + QuoteBatch::tradeDate("2024110"), "");
    // Characters, not bytes: a garbled stamp is never cut inside a character.
    EXPECT_EQ(QuoteBatch::tradeDate("二〇二四年十一月八日"), "二〇二四-年十-一月");
    const auto found =
        QuoteBatch::records("v_sh600519=\"a~b\";\nv_=\"x\";\nv_sz000001=\"\";\nv_sz000002=\"c\";\nv_sz3=\"");
    EXPECT_EQ(found, (std::vector<std::pair<std::string, std::string>>{{"sh600519", "a~b"}, {"sz000002", "c"}}));
}

} // namespace
} // namespace glimmer
