#include "app/hotkeys/HotKeyBackendX11.h"

#include "model/HotKeyKeys.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QObject>
#include <QPointer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

namespace glimmer {

namespace {

constexpr xcb_keysym_t numLockKeySym = 0xff7f;
// Modifiers that only reflect lock and pointer state; a press matches whatever they are.
constexpr std::uint16_t relevantMask = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2 |
                                       XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

// A press within this time of the one before, while the key has not been let go, is the key
// repeating (X's default delay is 660 ms).
constexpr xcb_timestamp_t repeatWindowMs = 2000;

struct Grab {
    std::vector<xcb_keycode_t> keyCodes;
    std::uint16_t modifiers = 0;
    // Whether the key is held, and when it last went down and up, on the server's clock.
    bool down = false;
    xcb_timestamp_t pressedAt = 0;
    std::optional<xcb_timestamp_t> releasedAt;

    bool holds(xcb_keycode_t code) const { return std::find(keyCodes.begin(), keyCodes.end(), code) != keyCodes.end(); }

    /// A held key repeats: with detectable auto-repeat as further presses, without it as a release
    /// and a press with one time stamp. Only the first press of a hold counts.
    bool pressIsRepeat(xcb_timestamp_t time) {
        const bool repeat = (down && time - pressedAt < repeatWindowMs) || (releasedAt && *releasedAt == time);
        down = true;
        pressedAt = time;
        return repeat;
    }
    void release(xcb_timestamp_t time) {
        down = false;
        releasedAt = time;
    }
};

} // namespace

class HotKeyBackendX11::State : public QAbstractNativeEventFilter {
public:
    explicit State(HotKeyBackendX11& owner) : owner(owner) {
        auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (x11 == nullptr || x11->connection() == nullptr) return;
        connection = x11->connection();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (screen == nullptr) {
            connection = nullptr;
            return;
        }
        root = screen->root;
        symbols = xcb_key_symbols_alloc(connection);
        numLockMask = findNumLockMask();
    }

    ~State() override {
        // After the application is gone its connection is closed; the server drops the grabs itself.
        if (QCoreApplication::instance() != nullptr) {
            for (const auto& entry : grabs) ungrab(entry.second);
            if (connection != nullptr) xcb_flush(connection);
            if (isFiltering) QCoreApplication::instance()->removeNativeEventFilter(this);
        }
        if (symbols != nullptr) xcb_key_symbols_free(symbols);
    }

    bool grab(Id id, std::uint32_t keyCode, std::uint32_t modifiers) {
        if (connection == nullptr || symbols == nullptr) return false;
        const HotKeyKeys::Key* key = HotKeyKeys::find(keyCode);
        if (key == nullptr) return false;
        Grab wanted;
        wanted.modifiers = HotKeyKeys::x11Modifiers(modifiers);
        wanted.keyCodes = keyCodesFor(key->keySym);
        if (wanted.keyCodes.empty()) return false;
        // X lets a client re-grab its own combination silently; two ids must not share one grab.
        for (const auto& entry : grabs) {
            if (entry.first != id && sameCombination(entry.second, wanted)) return false;
        }
        startFiltering();

        std::vector<xcb_void_cookie_t> cookies;
        for (const xcb_keycode_t code : wanted.keyCodes) {
            for (const std::uint16_t extra : lockVariants()) {
                cookies.push_back(xcb_grab_key_checked(connection, 0, root, wanted.modifiers | extra, code,
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
            }
        }
        bool refused = false;
        for (const xcb_void_cookie_t cookie : cookies) {
            // BadAccess: another client holds this combination.
            if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
                refused = true;
                std::free(error);
            }
        }
        if (refused) {
            ungrab(wanted);
            xcb_flush(connection);
            return false;
        }
        grabs[id] = std::move(wanted);
        return true;
    }

    void release(Id id) {
        const auto it = grabs.find(id);
        if (it == grabs.end()) return;
        ungrab(it->second);
        grabs.erase(it);
        xcb_flush(connection);
    }

    void releaseAll() {
        for (const auto& entry : grabs) ungrab(entry.second);
        grabs.clear();
        if (connection != nullptr) xcb_flush(connection);
        if (isFiltering && QCoreApplication::instance() != nullptr) {
            QCoreApplication::instance()->removeNativeEventFilter(this);
        }
        isFiltering = false;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t" || message == nullptr) return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const std::uint8_t type = event->response_type & 0x7f;
        if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
        const auto* key = static_cast<const xcb_key_press_event_t*>(message);
        const std::uint16_t modifiers = key->state & relevantMask & ~numLockMask;
        bool ours = false;
        for (auto& [id, held] : grabs) {
            if (!held.holds(key->detail)) continue;
            // The key may be let go after a modifier, so its release ends the hold whatever is held.
            if (type == XCB_KEY_RELEASE) held.release(key->time);
            if (held.modifiers != modifiers) continue;
            if (type == XCB_KEY_PRESS && !held.pressIsRepeat(key->time)) post(id);
            ours = true; // the release of a hot key belongs to us as well
        }
        return ours;
    }

private:
    void post(Id id) {
        // Queued so handlers never run inside Qt's event dispatch; dropped if the backend goes first.
        QPointer<QObject> guard(&dispatcher);
        QMetaObject::invokeMethod(
            &dispatcher,
            [this, guard, id] {
                if (guard && owner.onTriggered) owner.onTriggered(id);
            },
            Qt::QueuedConnection);
    }

    void startFiltering() {
        if (isFiltering || QCoreApplication::instance() == nullptr) return;
        QCoreApplication::instance()->installNativeEventFilter(this);
        isFiltering = true;
    }

    std::vector<std::uint16_t> lockVariants() const {
        std::vector<std::uint16_t> variants{0, XCB_MOD_MASK_LOCK};
        if (numLockMask != 0) {
            variants.push_back(numLockMask);
            variants.push_back(numLockMask | XCB_MOD_MASK_LOCK);
        }
        return variants;
    }

    void ungrab(const Grab& held) {
        if (connection == nullptr) return;
        for (const xcb_keycode_t code : held.keyCodes) {
            for (const std::uint16_t extra : lockVariants())
                xcb_ungrab_key(connection, code, root, held.modifiers | extra);
        }
    }

    static bool sameCombination(const Grab& a, const Grab& b) {
        if (a.modifiers != b.modifiers) return false;
        return std::any_of(a.keyCodes.begin(), a.keyCodes.end(), [&](xcb_keycode_t code) {
            return std::find(b.keyCodes.begin(), b.keyCodes.end(), code) != b.keyCodes.end();
        });
    }

    std::vector<xcb_keycode_t> keyCodesFor(xcb_keysym_t keySym) const {
        std::vector<xcb_keycode_t> codes;
        xcb_keycode_t* found = xcb_key_symbols_get_keycode(symbols, keySym);
        if (found == nullptr) return codes;
        for (const xcb_keycode_t* code = found; *code != XCB_NO_SYMBOL; ++code) codes.push_back(*code);
        std::free(found);
        std::sort(codes.begin(), codes.end());
        codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
        return codes;
    }

    // The modifier bit NumLock sets differs between keyboard maps; Mod2 is only the usual one.
    std::uint16_t findNumLockMask() const {
        const std::vector<xcb_keycode_t> numLockCodes = keyCodesFor(numLockKeySym);
        std::uint16_t mask = XCB_MOD_MASK_2;
        xcb_get_modifier_mapping_reply_t* reply =
            xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr);
        if (reply == nullptr) return mask;
        const xcb_keycode_t* map = xcb_get_modifier_mapping_keycodes(reply);
        const int perModifier = reply->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t code = map[modifier * perModifier + i];
                if (code != 0 && std::find(numLockCodes.begin(), numLockCodes.end(), code) != numLockCodes.end()) {
                    mask = std::uint16_t(1 << modifier);
                    std::free(reply);
                    return mask;
                }
            }
        }
        std::free(reply);
        return mask;
    }

    HotKeyBackendX11& owner;
    QObject dispatcher;
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    xcb_key_symbols_t* symbols = nullptr;
    std::uint16_t numLockMask = 0;
    std::map<Id, Grab> grabs;
    bool isFiltering = false;
};

HotKeyBackendX11::HotKeyBackendX11() : state(std::make_unique<State>(*this)) {
}

HotKeyBackendX11::~HotKeyBackendX11() = default;

bool HotKeyBackendX11::grab(Id id, std::uint32_t keyCode, std::uint32_t modifiers) {
    return state->grab(id, keyCode, modifiers);
}

void HotKeyBackendX11::release(Id id) {
    state->release(id);
}

void HotKeyBackendX11::releaseAll() {
    state->releaseAll();
}

} // namespace glimmer
