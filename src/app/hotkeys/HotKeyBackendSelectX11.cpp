// Backend choice on Linux: the desktop portal in a Wayland session that offers it, X11 under xcb,
// nothing elsewhere.
#include "app/WindowSystemChoice.h"
#include "app/hotkeys/HotKeyBackendNull.h"
#include "app/hotkeys/HotKeyBackendPortal.h"
#include "app/hotkeys/HotKeyBackendX11.h"

#include <QGuiApplication>

namespace glimmer {

std::unique_ptr<HotKeyBackend> makeLinuxHotKeyBackend(bool isWaylandSession, const QDBusConnection& bus) {
    // Under XWayland, X grabs see only keys typed into X windows; the portal sees them all.
    if (isWaylandSession && HotKeyBackendPortal::isOffered(bus)) return std::make_unique<HotKeyBackendPortal>(bus);
    if (qGuiApp != nullptr && QGuiApplication::platformName() == QLatin1String("xcb"))
        return std::make_unique<HotKeyBackendX11>();
    return std::make_unique<HotKeyBackendNull>();
}

std::unique_ptr<HotKeyBackend> makeHotKeyBackend() {
    return makeLinuxHotKeyBackend(isWaylandSession(AppPaths::processEnv), QDBusConnection::sessionBus());
}

} // namespace glimmer
