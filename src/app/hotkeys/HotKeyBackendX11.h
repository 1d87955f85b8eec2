#pragma once

#include "app/hotkeys/HotKeyBackend.h"

#include <memory>

namespace glimmer {

/// Global hot keys on X11: passive key grabs on the root window through Qt's xcb connection, one
/// per NumLock/CapsLock state, and a native event filter that turns matching key presses into
/// onTriggered calls queued on the main thread.
class HotKeyBackendX11 : public HotKeyBackend {
public:
    /// Works only while the QGuiApplication runs on xcb; otherwise every grab fails.
    HotKeyBackendX11();
    ~HotKeyBackendX11() override;

    bool grab(Id id, std::uint32_t keyCode, std::uint32_t modifiers) override;
    void release(Id id) override;
    void releaseAll() override;

private:
    class State;
    std::unique_ptr<State> state;
};

} // namespace glimmer
