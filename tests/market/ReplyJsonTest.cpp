#include "market/ReplyJson.h"

#include <gtest/gtest.h>

#include <string>

namespace glimmer {
namespace {

TEST(ReplyJson, ReadsNestedRepliesWithEscapesAndSurrogatePairs) {
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
}

TEST(ReplyJson, RejectsWhatIsNotJson) {
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

TEST(ReplyJson, AcceptsAByteOrderMarkBeforeTheValue) {
    // Found by fuzzing: a reply starting with a UTF-8 byte-order mark was rejected as not JSON.
    ReplyJson json;
    ASSERT_TRUE(json.parse("\xEF\xBB\xBF\"priceAlerts\""));
    ASSERT_TRUE(json.parse("\xEF\xBB\xBF{\"data\": {\"n\": 5}}"));
    EXPECT_TRUE(json.root()->isObject());
    EXPECT_FALSE(json.parse("\xEF\xBB"));
}

TEST(ReplyJson, DeepNestingIsRejectedNotACrash) {
    ReplyJson json;
    EXPECT_FALSE(json.parse(std::string(100000, '[') + std::string(100000, ']')));
    EXPECT_TRUE(json.parse(std::string(200, '[') + std::string(200, ']')));
}

TEST(ReplyJson, NumbersOutOfRangeAreNoNumber) {
    ReplyJson json;
    ASSERT_TRUE(json.parse(R"([1e999, "1e999", "12.50", "12.5x", 7])"));
    std::vector<std::optional<double>> values;
    for (const auto& item : json.children(*json.root())) values.push_back(ReplyJson::num(item));
    EXPECT_EQ(values, (std::vector<std::optional<double>>{std::nullopt, std::nullopt, 12.5, std::nullopt, 7.0}));
}

} // namespace
} // namespace glimmer
