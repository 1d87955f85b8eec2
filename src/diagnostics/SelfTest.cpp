#include "diagnostics/SelfTest.h"

#include "model/AppPaths.h"

#include <functional>
#include <map>

namespace glimmer::SelfTest {

std::optional<ThemeMode> forcedAppearance() {
    const std::optional<std::string> value = AppPaths::processEnv("GLIMMERBOX_FORCE_THEME");
    if (value == "dark") return ThemeMode::dark;
    if (value == "light") return ThemeMode::light;
    return std::nullopt;
}

const FetchContext& fetchContext() {
    // Never released: a transfer of a diagnostic may still run while the process ends.
    static const FetchContext* context = new FetchContext(
        FetchContext::fromEnvironment(*new MarketAPI, *new SourceHealth, Clock::system(), AppPaths::processEnv));
    return *context;
}

bool runSwitch(const std::string& name) {
    static const std::map<std::string, std::function<void()>> modes{
        {"GLIMMERBOX_SELFTEST", run},
        {"GLIMMERBOX_RENDER", renderPreview},
        {"GLIMMERBOX_RENDER_SETTINGS", renderSettings},
        {"GLIMMERBOX_FOLLOW_TEST", testExpandFollowWithWindows},
        {"GLIMMERBOX_OVERVIEW_TEST", testOverviewWithWindows},
        {"GLIMMERBOX_RENDER_OVERVIEW", renderOverview},
        {"GLIMMERBOX_RENDER_EXPAND", renderExpand},
        {"GLIMMERBOX_ALERT_TEST", testAlerts},
        {"GLIMMERBOX_REFRESH_TEST", runRefreshTrace},
        {"GLIMMERBOX_ROTATE_TEST", testRotation},
        {"GLIMMERBOX_LAYOUT_TEST", testExpandLayout},
        {"GLIMMERBOX_DOCK_TEST", testDock},
    };
    const auto mode = modes.find(name);
    if (mode == modes.end()) return false;
    mode->second();
    return true;
}

} // namespace glimmer::SelfTest
