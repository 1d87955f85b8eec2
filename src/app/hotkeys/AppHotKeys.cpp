#include "app/hotkeys/AppHotKeys.h"

#include "model/AppLog.h"

namespace glimmer {

namespace {

constexpr std::uint32_t keyE = 14, keyG = 5, commandOption = 0x900;

const char* outcome(bool isRegistered) {
    return isRegistered ? "成功" : "失败";
}

} // namespace

void registerAppHotKeys(HotKeyCenter& center, const HotKeySpec& hotkey, const AppHotKeyHandlers& handlers) {
    using Slot = HotKeyCenter::Slot;
    if (!hotkey.enabled) {
        center.unregister(Slot::toggle);
    } else {
        const bool isRegistered =
            center.registerKey(Slot::toggle, hotkey.keyCode, hotkey.modifiers, handlers.togglePanel);
        AppLog::write("INFO", "全局快捷键 " + hotkey.displayName + " 注册" + outcome(isRegistered));
    }
    const bool isExpandRegistered = center.registerKey(Slot::expand, keyE, commandOption, handlers.toggleExpand);
    AppLog::write("INFO", std::string("副图展开快捷键 ⌥⌘E 注册") + outcome(isExpandRegistered));
    const bool isOverviewRegistered = center.registerKey(Slot::overview, keyG, commandOption, handlers.toggleOverview);
    AppLog::write("INFO", std::string("全览快捷键 ⌥⌘G 注册") + outcome(isOverviewRegistered));
}

void registerPrivacyHotKey(HotKeyCenter& center, const HotKeySpec& hotkey, const std::function<void()>& handler) {
    using Slot = HotKeyCenter::Slot;
    if (!hotkey.enabled) {
        center.unregister(Slot::privacy);
        return;
    }
    const bool isRegistered = center.registerKey(Slot::privacy, hotkey.keyCode, hotkey.modifiers, handler);
    AppLog::write("INFO", "隐私模式快捷键 " + hotkey.displayName + " 注册" + outcome(isRegistered));
}

} // namespace glimmer
