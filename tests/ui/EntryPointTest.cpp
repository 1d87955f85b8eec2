#include "app/EntryPoint.h"
#include "app/Version.h"
#include "app/WindowSystemChoice.h"

#include <map>

#include <gtest/gtest.h>

namespace glimmer {
namespace {

TEST(EntryPoint, StartLineTruncatesSizesAndKeepsTheOpacityText) {
    AppConfig config{
        .width = 350.9, .watchlist = {{"600519", "贵州茅台"}, {"510300", "沪深300"}}, .refreshSeconds = 7.5};
    const std::string start = std::string("启动 v") + appVersion + "（" + appCodename + "）";
    EXPECT_EQ(startLogLine(config), start + "股票池=2只 尺寸=350x216 透明度=0.55 刷新=7s");
    // A hand-edited file may hold sizes no integer type holds.
    config.width = 1e20;
    config.height = -1e20;
    config.refreshSeconds = -0.5;
    EXPECT_EQ(startLogLine(config),
              start + "股票池=2只 尺寸=100000000000000000000x-100000000000000000000 透明度=0.55 刷新=0s");
}

TEST(WindowSystemChoice, WaylandSessionsRunOnXWaylandUnlessTheUserChoseOrThereIsNone) {
    using Env = std::map<std::string, std::string>;
    const std::string compositor = "，浮窗位置与置顶由合成器决定";
    const std::pair<Env, WindowSystemChoice> cases[] = {
        {{{"XDG_SESSION_TYPE", "tty"}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", "wayland"}}, {}},
        {{{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}},
         {"xcb", "Wayland 会话：经 XWayland（DISPLAY=:1）以 X11 方式运行，浮窗自行定位并置顶"}},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ""}},
         {std::nullopt, "Wayland 会话且无 XWayland：以 Wayland 方式运行" + compositor}},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland-egl"}},
         {std::nullopt, "Wayland 会话：按 QT_QPA_PLATFORM=wayland-egl 运行" + compositor}},
        {{{"XDG_SESSION_TYPE", "wayland"}, {"QT_QPA_PLATFORM", "xcb"}},
         {std::nullopt, "Wayland 会话：按 QT_QPA_PLATFORM=xcb 运行"}},
    };
    for (const auto& [vars, choice] : cases) {
        const auto env = [&](const char* name) -> std::optional<std::string> {
            const auto it = vars.find(name);
            return it == vars.end() ? std::nullopt : std::optional<std::string>(it->second);
        };
        EXPECT_EQ(chooseWindowSystem(env), choice) << choice.logLine;
    }
}

} // namespace
} // namespace glimmer
