// Inputs found by the fuzz targets under fuzz/, kept so the faults they showed stay fixed.
#include "market/EastmoneyTrends.h"
#include "market/ReplyJson.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace glimmer {
namespace {

const Instant stamp = Instant{} + std::chrono::hours(480000);

TEST(FuzzRegression, EastmoneyTrendsNegativeVolumeCountsAsNoVolume) {
    // A trends reply whose 09:31 line carries "-84" shares: the bar would reach below the volume
    // chart's baseline and shrink the day's volume.
    const std::string reply =
        R"({"rc":0,"rt":10,"svr":181669437,"lt":1,"full":1,"dlmkts":"","data":{"code":"600519","market":1,)"
        R"("type":2,"status":0,"name":"贵州茅台","decimal":2,"preSettlement":0.0,"preClose":1523.5,)"
        R"("trendsTotal":241,"time":1731051000,"kind":1,"prePrice":1523.5,"trends":[)"
        R"("2024-11-08 09:30,1523.50,1525.27,1525.57,1523.20,2140,326218390.00,1524.385",)"
        R"("2024-11-08 09:31,1525.27,1524.88,1525.57,1524.58,-84,74049096.00,1524.550",)"
        R"("2024-11-08 09:32,1524.88,1526.00,1526.10,1524.80,671,102332532.50,1524.640"]}})";
    const auto parsed = EastmoneyTrends::parse(reply, "600519", "茅台(自选)", stamp);
    ASSERT_TRUE(parsed.isUsable);
    ASSERT_TRUE(parsed.snapshot);
    const auto& minutes = parsed.snapshot->minutes;
    ASSERT_EQ(minutes.size(), 3u);
    EXPECT_EQ(minutes[1].time, "09:31");
    EXPECT_DOUBLE_EQ(minutes[1].volume, 0);
    EXPECT_DOUBLE_EQ(minutes[1].price, 1524.88) << "the rest of the line is still read";
    EXPECT_DOUBLE_EQ(parsed.snapshot->quote.volume, 2140 + 671);
}

TEST(FuzzRegression, ReplyJsonRejectsAValueFollowedByANulByte) {
    // nlohmann's reader stops at the NUL and accepts this; a reply is the whole body or nothing.
    const std::string text("8\0\0\0tcmpgs*:, dgs*:, \"die}", 26);
    ReplyJson json;
    EXPECT_FALSE(json.parse(text));
    EXPECT_EQ(json.root(), nullptr);
    EXPECT_FALSE(json.parse(std::string("{\"data\":{}}\0", 12)));
    EXPECT_FALSE(json.parse(std::string("\"a\0b\"", 5))) << "a raw control character inside a string";
}

} // namespace
} // namespace glimmer
