#pragma once

#include "app/hotkeys/HotKeyCenter.h"
#include "model/AppConfig.h"

#include <functional>

namespace glimmer {

/// What the program's three hot keys do; the owner captures itself weakly.
struct AppHotKeyHandlers {
    std::function<void()> togglePanel;
    std::function<void()> toggleExpand;
    std::function<void()> toggleOverview;
};

/// Registers the user's panel toggle (or drops it when disabled), ⌥⌘E for expand and ⌥⌘G for the
/// overview, logging one line per registration. Called at start-up and after the hot key changes.
void registerAppHotKeys(HotKeyCenter& center, const HotKeySpec& hotkey, const AppHotKeyHandlers& handlers);

} // namespace glimmer
