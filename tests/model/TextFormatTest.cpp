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
