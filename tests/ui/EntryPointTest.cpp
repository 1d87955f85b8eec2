#include "app/EntryPoint.h"
#include "app/Version.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

TEST(EntryPoint, StartLineTruncatesSizesAndKeepsTheOpacityText) {
    AppConfig config;
    config.watchlist = {{"600519", "贵州茅台", InstrumentKind::stock}, {"510300", "沪深300ETF", InstrumentKind::etf}};
    config.width = 350.9;
    config.height = 216;
    config.opacity = 0.55;
    config.refreshSeconds = 7.5;
    const std::string start = std::string("启动 v") + appVersion + "（" + appCodename + "）";
    EXPECT_EQ(startLogLine(config), start + "股票池=2只 尺寸=350x216 透明度=0.55 刷新=7s");
    config.watchlist.clear();
    config.opacity = 1;
    EXPECT_EQ(startLogLine(config), start + "股票池=0只 尺寸=350x216 透明度=1 刷新=7s");
}

} // namespace
} // namespace glimmer
