#pragma once

#include "app/hotkeys/HotKeyBackend.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace glimmer {

/// The process-wide registry of the global hot keys. Handlers run on the main thread, from
/// the event loop. Registration happens on the main thread only.
///
/// `register` is a C++ keyword, so registering is `registerKey`.
class HotKeyCenter {
public:
    /// The id a slot registers under is its value + 1 (1, 2, 3, 4).
    enum class Slot : std::uint32_t { toggle = 0, expand = 1, overview = 2, privacy = 3 };

    /// The singleton, on the backend makeHotKeyBackend() picks. Create the QApplication first.
    static HotKeyCenter& shared();

    explicit HotKeyCenter(std::unique_ptr<HotKeyBackend> backend);
    ~HotKeyCenter();
    HotKeyCenter(const HotKeyCenter&) = delete;
    HotKeyCenter& operator=(const HotKeyCenter&) = delete;

    /// Replaces the slot's registration. False when the system refuses the combination; the slot
    /// is then left without handler.
    bool registerKey(Slot slot, std::uint32_t keyCode, std::uint32_t modifiers, std::function<void()> handler);
    void unregister(Slot slot);
    void unregisterAll();
    bool isRegistered(Slot slot) const;

    static std::uint32_t hotKeyId(Slot slot) { return static_cast<std::uint32_t>(slot) + 1; }

private:
    void dispatch(std::uint32_t id);

    std::map<std::uint32_t, std::function<void()>> handlers;
    std::set<std::uint32_t> refs;
    std::unique_ptr<HotKeyBackend> backend;
};

} // namespace glimmer
