#include "app/hotkeys/HotKeyCenter.h"

namespace glimmer {

HotKeyCenter& HotKeyCenter::shared() {
    static HotKeyCenter center(makeHotKeyBackend());
    return center;
}

HotKeyCenter::HotKeyCenter(std::unique_ptr<HotKeyBackend> backend) : backend(std::move(backend)) {
    this->backend->onTriggered = [this](std::uint32_t id) { dispatch(id); };
}

HotKeyCenter::~HotKeyCenter() {
    backend->onTriggered = nullptr;
}

bool HotKeyCenter::registerKey(Slot slot, std::uint32_t keyCode, std::uint32_t modifiers,
                               std::function<void()> handler) {
    unregister(slot);
    const std::uint32_t id = hotKeyId(slot);
    handlers[id] = std::move(handler);
    if (backend->grab(id, keyCode, modifiers)) {
        refs.insert(id);
        return true;
    }
    handlers.erase(id);
    return false;
}

void HotKeyCenter::unregister(Slot slot) {
    const std::uint32_t id = hotKeyId(slot);
    if (refs.erase(id) > 0) backend->release(id);
    handlers.erase(id);
}

void HotKeyCenter::unregisterAll() {
    for (const std::uint32_t id : refs) backend->release(id);
    refs.clear();
    handlers.clear();
    backend->releaseAll();
}

bool HotKeyCenter::isRegistered(Slot slot) const {
    return refs.count(hotKeyId(slot)) > 0;
}

void HotKeyCenter::dispatch(std::uint32_t id) {
    const auto it = handlers.find(id);
    if (it == handlers.end() || !it->second) return;
    // A copy: the handler may re-register its own slot.
    const std::function<void()> handler = it->second;
    handler();
}

} // namespace glimmer
