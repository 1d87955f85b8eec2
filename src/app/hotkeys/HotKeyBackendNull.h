#pragma once

#include "app/hotkeys/HotKeyBackend.h"

namespace glimmer {

/// For window systems without a global-shortcut facility we can use (Wayland, no display): every
/// grab fails, so the program runs on without those shortcuts.
class HotKeyBackendNull : public HotKeyBackend {
public:
    bool grab(Id id, std::uint32_t keyCode, std::uint32_t modifiers) override;
    void release(Id id) override;
    void releaseAll() override;
};

} // namespace glimmer
