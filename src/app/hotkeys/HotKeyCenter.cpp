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
    requestKey(slot, keyCode, modifiers, std::move(handler), [](bool) {});
    return isRegistered(slot);
}

void HotKeyCenter::requestKey(Slot slot, std::uint32_t keyCode, std::uint32_t modifiers, std::function<void()> handler,
                              std::function<void(bool)> settled) {
    unregister(slot);
    const std::uint32_t id = hotKeyId(slot);
    handlers[id] = std::move(handler);
    const unsigned serial = ++requestSerials[id];
    pending.insert(id);
    backend->grabLater(id, keyCode, modifiers, [this, id, serial, settled = std::move(settled)](bool isHeld) {
        if (requestSerials[id] == serial) {
            pending.erase(id);
            if (isHeld) {
                refs.insert(id);
            } else {
                handlers.erase(id);
            }
        }
        settled(isHeld);
    });
}

void HotKeyCenter::unregister(Slot slot) {
    const std::uint32_t id = hotKeyId(slot);
    ++requestSerials[id];
    // Also withdraws a request the system has not answered yet.
    const bool wasAsked = pending.erase(id) > 0;
    if (refs.erase(id) > 0 || wasAsked) backend->release(id);
    handlers.erase(id);
}

void HotKeyCenter::unregisterAll() {
    for (const std::uint32_t id : refs) backend->release(id);
    refs.clear();
    handlers.clear();
    for (auto& [id, serial] : requestSerials) ++serial;
    pending.clear();
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
