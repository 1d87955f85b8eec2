// Backend choice on Linux: the desktop portal in a Wayland session that offers it, X11 under xcb,
// nothing elsewhere.
#include "app/WindowSystemChoice.h"
#include "app/hotkeys/HotKeyBackendNull.h"
#include "app/hotkeys/HotKeyBackendPortal.h"
#include "app/hotkeys/HotKeyBackendX11.h"
#include "model/AppLog.h"

#include <QGuiApplication>

namespace glimmer {

std::unique_ptr<HotKeyBackend> makeLinuxHotKeyBackend(bool isWaylandSession, const QDBusConnection& bus) {
    const bool isXcb = qGuiApp != nullptr && QGuiApplication::platformName() == QLatin1String("xcb");
    if (isWaylandSession) {
        HotKeyBackendPortal::registerApp(bus, QGuiApplication::desktopFileName());
        if (HotKeyBackendPortal::isOffered(bus)) {
            AppLog::write("INFO", "全局快捷键经桌面门户（GlobalShortcuts）注册");
            return std::make_unique<HotKeyBackendPortal>(bus);
        }
        // Under XWayland, X grabs see only keys typed into X windows; the user should know why.
        AppLog::write("INFO", isXcb ? "桌面门户不提供全局快捷键：快捷键只在 X11 窗口有焦点时生效"
                                    : "桌面门户不提供全局快捷键：全局快捷键不可用");
    }
    if (isXcb) return std::make_unique<HotKeyBackendX11>();
    return std::make_unique<HotKeyBackendNull>();
}

std::unique_ptr<HotKeyBackend> makeHotKeyBackend() {
    return makeLinuxHotKeyBackend(isWaylandSession(AppPaths::processEnv), QDBusConnection::sessionBus());
}

} // namespace glimmer
