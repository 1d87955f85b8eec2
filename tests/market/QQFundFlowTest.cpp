#include "market/QQFundFlow.h"

#include "market/SeriesFetchTest.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using testing::fixture;

std::vector<FlowPoint> parseText(const std::string& text) {
    ReplyJson json;
    json.parse(text);
    return QQFundFlow::parseMinutes(json);
}

TEST(QQFundFlowParse, FullDayOfStringValues) {
    const auto points = parseText(fixture("qq_fundflow_000001.json"));
    ASSERT_EQ(points.size(), 240u);
    EXPECT_EQ(points.front(), (FlowPoint{"09:31", -126798.13, -139597.91}));
    EXPECT_EQ(points.back(), (FlowPoint{"15:00", -7663084.67, 2886843.12}));
}

TEST(QQFundFlowParse, StampsAndValuesOfEveryShape) {
    const auto points = parseText(fixture("qq_fundflow_quirks.json"));
    // Dropped: 09:25 (pre-open), an 11-character stamp, a numeric stamp, 15:01 (after the close).
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0], (FlowPoint{"13:05", 123.4, 55}));   // 14 characters, string and number values
    EXPECT_EQ(points[1], (FlowPoint{"13:10", 123.4, 0}));    // number value; a missing key is 0
    EXPECT_EQ(points[2], (FlowPoint{"13:12", 0, 0}));        // a dash and a null are 0
    EXPECT_EQ(points[3], (FlowPoint{"15:00", -5e6, 3e6}));
}

TEST(QQFundFlowParse, WrongShapesGiveNothing) {
    for (const std::string text :
         {"", "[]", R"({"data":{}})", R"({"data":{"todayFundTrend":{"minList":{}}}})",
          R"({"data":{"todayFundTrend":[]}})", R"({"data":{"todayFundTrend":{"minList":[1,"x",null]}}})"}) {
        EXPECT_TRUE(parseText(text).empty()) << text;
    }
}

TEST(QQFundFlowParse, HostileSymbolIsEncoded) {
    const std::string url = QQFundFlow::url("http://127.0.0.1:9", "sz000001&type=x");
    EXPECT_NE(url.find("code=sz000001%26type%3Dx&type=todayFundTrend"), std::string::npos);
}

} // namespace
} // namespace glimmer
