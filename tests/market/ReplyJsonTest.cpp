#include "market/ReplyJson.h"
#include "market/ReplyText.h"
#include "market/SeriesFields.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <random>
#include <string>

namespace glimmer {
namespace {

TEST(ReplyJson, ReadsNestedRepliesWithEscapesAndSurrogatePairsAndRejectsWhatIsNotJson) {
    ReplyJson json;
    const std::string text =
        R"( {"data":{"name":"\u8d35\u5dde\u8305\u53f0","tag":"a\"b\\c\/d\n","emoji":"\ud83d\ude00","n":-1.5e2,)"
        R"("rows":[[1,"2"],[]],"ok":true,"none":null,"name":"last"}} )";
    ASSERT_TRUE(json.parse(text));
    const auto* data = json.find(json.root(), "data");
    ASSERT_TRUE(data && data->isObject());
    EXPECT_EQ(json.find(data, "tag")->text, "a\"b\\c/d\n");
    EXPECT_EQ(json.find(data, "emoji")->text, "\xF0\x9F\x98\x80");
    EXPECT_DOUBLE_EQ(*ReplyJson::num(*json.find(data, "n")), -150);
    // A repeated member name: the last one counts.
    EXPECT_EQ(json.find(data, "name")->text, "last");
    const auto* rows = json.find(data, "rows");
    ASSERT_TRUE(rows && rows->isArray());
    EXPECT_EQ(rows->size, 2u);
    EXPECT_FALSE(json.isArrayOfStrings(rows));
    EXPECT_EQ(json.find(data, "missing"), nullptr);
    EXPECT_EQ(json.find(rows, "rows"), nullptr);

    for (const std::string& text : std::initializer_list<std::string>{
             "", " ", "{", "[1,]", "{\"a\":1,}", "{\"a\" 1}", "{a:1}", "'x'", "01", "1.", ".5", "-", "1e", "+1", "tru",
             "nul", "[1] x", "\"unterminated", "\"bad \\x escape\"", "\"\\u12G4\"", "\"\\ud800\"", "\"\\udc00\"",
             "\"tab\there\"", "NaN", "<html></html>", std::string("[\0]", 3),
             // Found by fuzzing: nlohmann's reader stops at a NUL and accepts what came before it.
             std::string("8\0\0\0tcmpgs*:, dgs*:, \"die}", 26), std::string("{\"data\":{}}\0", 12),
             std::string("\"a\0b\"", 5)}) {
        ReplyJson json;
        EXPECT_FALSE(json.parse(text)) << text;
        EXPECT_EQ(json.root(), nullptr);
    }
}

TEST(ReplyJson, AcceptsAByteOrderMarkRejectsDeepNestingAndReadsNumbersOutOfRangeAsNone) {
    // Found by fuzzing: a reply starting with a UTF-8 byte-order mark was rejected as not JSON.
    ReplyJson json;
    ASSERT_TRUE(json.parse("\xEF\xBB\xBF\"priceAlerts\""));
    ASSERT_TRUE(json.parse("\xEF\xBB\xBF{\"data\": {\"n\": 5}}"));
    EXPECT_TRUE(json.root()->isObject());
    EXPECT_FALSE(json.parse("\xEF\xBB"));
    EXPECT_FALSE(json.parse(std::string(100000, '[') + std::string(100000, ']'))) << "rejected, not a crash";
    EXPECT_TRUE(json.parse(std::string(200, '[') + std::string(200, ']')));
    ASSERT_TRUE(json.parse(R"([1e999, "1e999", "12.50", "12.5x", 7])"));
    std::vector<std::optional<double>> values;
    for (const auto& item : json.children(*json.root())) values.push_back(ReplyJson::num(item));
    EXPECT_EQ(values, (std::vector<std::optional<double>>{std::nullopt, std::nullopt, 12.5, std::nullopt, 7.0}));
}

TEST(ReplyText, DecodePrefersUtf8ThenGb18030AndNumbersAreCompleteFiniteDecimals) {
    EXPECT_FALSE(ReplyText::decode(std::nullopt));
    EXPECT_FALSE(ReplyText::decode(std::string()));
    EXPECT_EQ(ReplyText::decode(std::string("贵州茅台")), "贵州茅台");
    EXPECT_EQ(ReplyText::decode(std::string("\xB9\xF3\xD6\xDD\xC3\xA9\xCC\xA8")), "贵州茅台") << "GBK bytes";
    EXPECT_EQ(ReplyText::decode(std::string("\x81\x30\x81\x30")), "\xC2\x80") << "a four-byte GB 18030 sequence";
    EXPECT_FALSE(ReplyText::decode(std::string("\xB9"))) << "a truncated sequence is neither";
    EXPECT_FALSE(ReplyText::decode(std::string("\xFF\xFF\xFF")));

    std::vector<std::optional<double>> numbers;
    for (const char* text : {"12.5", "-0.25", "+7", "1e3"}) numbers.push_back(ReplyText::number(text));
    EXPECT_EQ(numbers, (std::vector<std::optional<double>>{12.5, -0.25, 7, 1000}));
    for (const char* text : {"12.5x", "", "-", "+", "+-1", "++1", "nan", "inf", " 1", "1 ", "1.2.3", "--1"}) {
        EXPECT_FALSE(ReplyText::number(text)) << text;
    }
    // Plain decimals take a shortcut; it must give the very bits the full parser gives.
    std::mt19937_64 random(7);
    std::vector<std::string> texts{"-0", "0.0", "-000.50", "999999999999999", "9007199254740993", "0.1000000000000001"};
    for (int i = 0; i < 20000; ++i) {
        const std::size_t digits = 1 + random() % 17, point = random() % digits;
        std::string text = random() % 2 ? "-" : "";
        for (std::size_t d = 0; d < digits; ++d) text += (d && d == point ? "." : "") + std::to_string(random() % 10);
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(ReplyText::number(text).value_or(-1)),
                  std::bit_cast<std::uint64_t>(expected))
            << text;
    }
}

TEST(SeriesFields, SplitDropsEmptyPiecesCountsPastItsCapacitySessionMinutesAreInclusiveAndPositionsCountCodePoints) {
    std::array<std::string_view, 3> pieces;
    EXPECT_EQ(SeriesFields::split(",,a,,b,", ',', pieces), 2u);
    EXPECT_EQ(std::string(pieces[0]) + std::string(pieces[1]), "ab");
    EXPECT_EQ(SeriesFields::split("1,2,3,4,5", ',', pieces), 5u);
    EXPECT_EQ(pieces[2], "3");
    EXPECT_EQ(SeriesFields::split("", ',', pieces), 0u);
    std::vector<bool> inSession;
    for (const char* minute : {"09:29", "09:30", "15:00", "15:01"})
        inSession.push_back(SeriesFields::isSessionMinute(minute));
    EXPECT_EQ(inSession, (std::vector<bool>{false, true, true, false}));

    EXPECT_EQ(SeriesFields::lastCharacters("2024-11-08 09:31", 5), "09:31");
    EXPECT_EQ(SeriesFields::lastCharacters("时间09:31", 6), "间09:31");
    EXPECT_EQ(SeriesFields::lastCharacters("9:31", 5), "9:31");
    EXPECT_EQ(SeriesFields::characters("２０２４１１０８１３０５", 8, 2), "１３");
    EXPECT_EQ(SeriesFields::characters("abc", 2, 5), "c");
    EXPECT_EQ(SeriesFields::characters("abc", 7, 2), "");
    // Broken UTF-8 never reads past the text.
    EXPECT_EQ(SeriesFields::lastCharacters("\x80\x80\xe6", 2), "\x80\xe6");
    EXPECT_EQ(SeriesFields::characters("\xe6\x97", 0, 1), "\xe6\x97");
}

} // namespace
} // namespace glimmer
