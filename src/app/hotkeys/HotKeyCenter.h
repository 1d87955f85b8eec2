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

    /// Replaces the slot's registration. False when the system refuses the combination, or has not
    /// answered yet; a refused slot is left without handler.
    bool registerKey(Slot slot, std::uint32_t keyCode, std::uint32_t modifiers, std::function<void()> handler);
    /// The same, telling `settled` the outcome once the system has answered (at once on X11).
    void requestKey(Slot slot, std::uint32_t keyCode, std::uint32_t modifiers, std::function<void()> handler,
                    std::function<void(bool)> settled);
    void unregister(Slot slot);
    void unregisterAll();
    bool isRegistered(Slot slot) const;

    static std::uint32_t hotKeyId(Slot slot) { return static_cast<std::uint32_t>(slot) + 1; }

private:
    void dispatch(std::uint32_t id);

    std::map<std::uint32_t, std::function<void()>> handlers;
    std::set<std::uint32_t> refs;
    // Ids asked for and not answered yet, and per id the latest request: an answer to an older
    // one changes nothing.
    std::set<std::uint32_t> pending;
    std::map<std::uint32_t, unsigned> requestSerials;
    std::unique_ptr<HotKeyBackend> backend;
};

} // namespace glimmer
