#include "app/WindowSystemChoice.h"

namespace glimmer {

namespace {

constexpr const char* compositorDecides = "浮窗位置与置顶由合成器决定";

std::string valueOf(const AppPaths::EnvLookup& env, const char* name) {
    return env(name).value_or("");
}

} // namespace

bool isWaylandSession(const AppPaths::EnvLookup& env) {
    return valueOf(env, "XDG_SESSION_TYPE") == "wayland" || !valueOf(env, "WAYLAND_DISPLAY").empty();
}

WindowSystemChoice chooseWindowSystem(const AppPaths::EnvLookup& env) {
    if (!isWaylandSession(env)) return {};
    if (const std::string chosen = valueOf(env, "QT_QPA_PLATFORM"); !chosen.empty()) {
        std::string line = "Wayland 会话：按 QT_QPA_PLATFORM=" + chosen + " 运行";
        if (chosen.rfind("wayland", 0) == 0) line += std::string("，") + compositorDecides;
        return {std::nullopt, line};
    }
    if (const std::string display = valueOf(env, "DISPLAY"); !display.empty()) {
        return {"xcb", "Wayland 会话：经 XWayland（DISPLAY=" + display + "）以 X11 方式运行，浮窗自行定位并置顶"};
    }
    return {std::nullopt, std::string("Wayland 会话且无 XWayland：以 Wayland 方式运行，") + compositorDecides};
}

} // namespace glimmer
