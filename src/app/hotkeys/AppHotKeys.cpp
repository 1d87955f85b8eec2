#include "app/hotkeys/AppHotKeys.h"

#include "model/AppLog.h"
#include "model/HotKeyKeys.h"

namespace glimmer {

namespace {

/// Asks for the combination and logs "<what> <keys> 注册成功" or "失败" once the system has answered.
void request(HotKeyCenter& center, HotKeyCenter::Slot slot, HotKeyKeys::Combination keys,
             const std::function<void()>& handler, const std::string& what) {
    const std::string line = what + " " + HotKeyKeys::displayName(keys) + " 注册";
    center.requestKey(slot, keys.keyCode, keys.modifiers, handler, [line](bool isRegistered) {
        AppLog::write("INFO", line + (isRegistered ? "成功" : "失败"));
    });
}

} // namespace

void registerAppHotKeys(HotKeyCenter& center, const HotKeySpec& hotkey, const AppHotKeyHandlers& handlers) {
    using Slot = HotKeyCenter::Slot;
    if (!hotkey.enabled) {
        center.unregister(Slot::toggle);
    } else {
        request(center, Slot::toggle, {hotkey.keyCode, hotkey.modifiers}, handlers.togglePanel, "全局快捷键");
    }
    request(center, Slot::expand, HotKeyKeys::expandKeys, handlers.toggleExpand, "副图展开快捷键");
    request(center, Slot::overview, HotKeyKeys::overviewKeys, handlers.toggleOverview, "全览快捷键");
}

void registerPrivacyHotKey(HotKeyCenter& center, const HotKeySpec& hotkey, const std::function<void()>& handler) {
    using Slot = HotKeyCenter::Slot;
    if (!hotkey.enabled) {
        center.unregister(Slot::privacy);
        return;
    }
    request(center, Slot::privacy, {hotkey.keyCode, hotkey.modifiers}, handler, "隐私模式快捷键");
}

} // namespace glimmer
