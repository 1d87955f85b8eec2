#include "app/hotkeys/AppHotKeys.h"

#include "model/AppLog.h"
#include "model/HotKeyKeys.h"

namespace glimmer {

namespace {

std::string outcome(bool isRegistered) {
    return isRegistered ? "成功" : "失败";
}

std::string keysOf(const HotKeySpec& hotkey) {
    return HotKeyKeys::displayName(hotkey.keyCode, hotkey.modifiers);
}

} // namespace

void registerAppHotKeys(HotKeyCenter& center, const HotKeySpec& hotkey, const AppHotKeyHandlers& handlers) {
    using Slot = HotKeyCenter::Slot;
    if (!hotkey.enabled) {
        center.unregister(Slot::toggle);
    } else {
        const bool isRegistered =
            center.registerKey(Slot::toggle, hotkey.keyCode, hotkey.modifiers, handlers.togglePanel);
        AppLog::write("INFO", "全局快捷键 " + keysOf(hotkey) + " 注册" + outcome(isRegistered));
    }
    const auto expand = HotKeyKeys::expandKeys, overview = HotKeyKeys::overviewKeys;
    const bool isExpandRegistered =
        center.registerKey(Slot::expand, expand.keyCode, expand.modifiers, handlers.toggleExpand);
    AppLog::write("INFO", "副图展开快捷键 " + HotKeyKeys::displayName(expand) + " 注册" + outcome(isExpandRegistered));
    const bool isOverviewRegistered =
        center.registerKey(Slot::overview, overview.keyCode, overview.modifiers, handlers.toggleOverview);
    AppLog::write("INFO", "全览快捷键 " + HotKeyKeys::displayName(overview) + " 注册" + outcome(isOverviewRegistered));
}

void registerPrivacyHotKey(HotKeyCenter& center, const HotKeySpec& hotkey, const std::function<void()>& handler) {
    using Slot = HotKeyCenter::Slot;
    if (!hotkey.enabled) {
        center.unregister(Slot::privacy);
        return;
    }
    const bool isRegistered = center.registerKey(Slot::privacy, hotkey.keyCode, hotkey.modifiers, handler);
    AppLog::write("INFO", "隐私模式快捷键 " + keysOf(hotkey) + " 注册" + outcome(isRegistered));
}

} // namespace glimmer
