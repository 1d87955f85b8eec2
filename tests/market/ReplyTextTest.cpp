#include "market/ReplyText.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

TEST(ReplyText, DecodePrefersUtf8ThenGb18030) {
    EXPECT_FALSE(ReplyText::decode(std::nullopt));
    EXPECT_FALSE(ReplyText::decode(std::string()));
    EXPECT_EQ(ReplyText::decode(std::string("贵州茅台")), "贵州茅台");
    EXPECT_EQ(ReplyText::decode(std::string("\xB9\xF3\xD6\xDD\xC3\xA9\xCC\xA8")), "贵州茅台") << "GBK bytes";
    EXPECT_EQ(ReplyText::decode(std::string("\x81\x30\x81\x30")), "\xC2\x80") << "a four-byte GB 18030 sequence";
    EXPECT_FALSE(ReplyText::decode(std::string("\xB9"))) << "a truncated sequence is neither";
    EXPECT_FALSE(ReplyText::decode(std::string("\xFF\xFF\xFF")));
}

TEST(ReplyText, NumberTakesOnlyACompleteFiniteDecimal) {
    EXPECT_EQ(ReplyText::number("12.5"), 12.5);
    EXPECT_EQ(ReplyText::number("-0.25"), -0.25);
    EXPECT_EQ(ReplyText::number("+7"), 7);
    EXPECT_EQ(ReplyText::number("1e3"), 1000);
    for (const char* text : {"12.5x", "", "-", "+", "+-1", "++1", "nan", "inf", " 1", "1 "}) {
        EXPECT_FALSE(ReplyText::number(text)) << text;
    }
}

} // namespace
} // namespace glimmer
