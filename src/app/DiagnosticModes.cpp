#include "app/DiagnosticModes.h"

namespace glimmer::DiagnosticModes {

const std::vector<std::string>& switches() {
    static const std::vector<std::string> names{
        "GLIMMERBOX_SELFTEST",      "GLIMMERBOX_RENDER",        "GLIMMERBOX_RENDER_SETTINGS",
        "GLIMMERBOX_FOLLOW_TEST",   "GLIMMERBOX_OVERVIEW_TEST", "GLIMMERBOX_RENDER_OVERVIEW",
        "GLIMMERBOX_RENDER_EXPAND", "GLIMMERBOX_ALERT_TEST",    "GLIMMERBOX_REFRESH_TEST",
        "GLIMMERBOX_ROTATE_TEST",   "GLIMMERBOX_LAYOUT_TEST",   "GLIMMERBOX_DOCK_TEST",
    };
    return names;
}

std::optional<std::string> firstSwitchOn(const std::function<std::optional<std::string>(const char*)>& env) {
    for (const std::string& name : switches()) {
        const std::optional<std::string> value = env(name.c_str());
        if (value && *value == "1") return name;
    }
    return std::nullopt;
}

} // namespace glimmer::DiagnosticModes
