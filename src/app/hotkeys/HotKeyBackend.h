#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace glimmer {

/// The window system's global-shortcut facility behind HotKeyCenter. One implementation per
/// platform; key codes and modifiers arrive in the stored (macOS) form and each backend maps them.
class HotKeyBackend {
public:
    using Id = std::uint32_t;

    virtual ~HotKeyBackend() = default;

    /// Claims the combination system-wide under `id`. False when the key cannot be mapped, when the
    /// combination is held by another program or by another id, or when there is no facility at all.
    virtual bool grab(Id id, std::uint32_t keyCode, std::uint32_t modifiers) = 0;
    /// Claims the combination and reports the outcome through `settled`: at once by default, later
    /// (from the event loop) where another process decides, such as the desktop portal.
    virtual void grabLater(Id id, std::uint32_t keyCode, std::uint32_t modifiers, std::function<void(bool)> settled) {
        settled(grab(id, keyCode, modifiers));
    }
    /// Gives up the combination of `id`; nothing when it holds none.
    virtual void release(Id id) = 0;
    /// Releases everything and stops listening for key presses until the next grab.
    virtual void releaseAll() = 0;

    /// A held combination was pressed. Always called on the main thread from the event loop, never
    /// from inside the window system's event dispatch.
    std::function<void(Id)> onTriggered;
};

/// The backend for this process: the desktop portal's global shortcuts in a Wayland session whose
/// portal offers them, X11 when Qt runs on xcb, else one that registers nothing. Needs the
/// QGuiApplication to exist to choose.
std::unique_ptr<HotKeyBackend> makeHotKeyBackend();

} // namespace glimmer
