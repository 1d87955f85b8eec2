// Backend choice where the X11 backend is built: X11 under xcb, nothing elsewhere (Wayland).
#include "app/hotkeys/HotKeyBackendNull.h"
#include "app/hotkeys/HotKeyBackendX11.h"

#include <QGuiApplication>

namespace glimmer {

std::unique_ptr<HotKeyBackend> makeHotKeyBackend() {
    if (qGuiApp != nullptr && QGuiApplication::platformName() == QLatin1String("xcb"))
        return std::make_unique<HotKeyBackendX11>();
    return std::make_unique<HotKeyBackendNull>();
}

} // namespace glimmer
