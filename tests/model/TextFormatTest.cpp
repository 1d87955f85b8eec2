#include "model/TextFormat.h"

#include "support/CommaLocale.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace glimmer {
namespace {

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

    EXPECT_EQ(TextFormat::fixed(1421.5, 2), "1421.50");
    EXPECT_EQ(TextFormat::fixed(0.5, 2), "0.50");
    EXPECT_EQ(TextFormat::signedFixed(1.5, 2), "+1.50");
    EXPECT_EQ(TextFormat::signedFixed(-0.25, 2), "-0.25");
    EXPECT_EQ(TextFormat::signedFixed(0, 2), "+0.00");
    EXPECT_EQ(TextFormat::shortest(0.55), "0.55");
    EXPECT_EQ(TextFormat::utf8Length("贵州茅台"), 4u);
    EXPECT_EQ(TextFormat::utf8Prefix("沪深300ETF", 4), "沪深30");
    EXPECT_EQ(TextFormat::utf8Prefix("ab", 4), "ab");
    EXPECT_EQ(TextFormat::utf8Prefix("😀x", 1), "😀");
    // A broken sequence counts as one character per bad byte and is never split further.
    EXPECT_EQ(TextFormat::utf8Length("a\xE4\xB8"), 3u);
    EXPECT_EQ(TextFormat::utf8Prefix("\xE4\xB8\xAD\xE6", 1), "\xE4\xB8\xAD");
    EXPECT_TRUE(TextFormat::isValidUtf8("中文 ok"));
    EXPECT_FALSE(TextFormat::isValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(TextFormat::isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(TextFormat::isValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(TextFormat::isValidUtf8("\xD6\xD0\xCE\xC4")); // GBK 中文
}

} // namespace
} // namespace glimmer
