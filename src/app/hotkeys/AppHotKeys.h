#pragma once

#include "app/hotkeys/HotKeyCenter.h"
#include "model/AppConfig.h"

#include <functional>

namespace glimmer {

/// What the program's hot keys do; the owner captures itself weakly.
struct AppHotKeyHandlers {
    std::function<void()> togglePanel;
    std::function<void()> toggleExpand;
    std::function<void()> toggleOverview;
    std::function<void()> togglePrivacy;
};

/// Registers the user's panel toggle (or drops it when disabled), the expand and the overview
/// keys, logging one line per registration with the keys as this platform names them. Called at start-up and after the
/// hot key changes.
void registerAppHotKeys(HotKeyCenter& center, const HotKeySpec& hotkey, const AppHotKeyHandlers& handlers);

/// Registers the privacy switch when the user turned its key on (logging the outcome), else drops
/// it without a word.
void registerPrivacyHotKey(HotKeyCenter& center, const HotKeySpec& hotkey, const std::function<void()>& handler);

} // namespace glimmer
