// The X11 hot-key backend against a real X server, pressed with xdotool. Runs as an x11 test
// (tests/x11/hotkeys_tests.cmake); without an X display it fails.
#include "app/hotkeys/HotKeyBackendX11.h"
#include "app/hotkeys/HotKeyCenter.h"
#include "ui/TestApplication.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace glimmer {
namespace {

using Slot = HotKeyCenter::Slot;
constexpr std::uint32_t keyE = 14, keyG = 5, commandOption = 0x900;
constexpr std::uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;

bool xdotool(const QStringList& arguments) {
    QProcess process;
    process.start("xdotool", arguments);
    return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

/// Another program on the same display, with a connection of its own.
class OtherClient {
public:
    OtherClient() : connection(xcb_connect(nullptr, nullptr)) {
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        symbols = xcb_key_symbols_alloc(connection);
    }
    ~OtherClient() {
        xcb_key_symbols_free(symbols);
        xcb_disconnect(connection);
    }
    bool isConnected() const { return xcb_connection_has_error(connection) == 0; }

    /// Whether the server lets this client grab the key of `keySym` with `modifiers`.
    bool grab(xcb_keysym_t keySym, std::uint16_t modifiers) {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keySym);
        if (codes == nullptr) return false;
        const xcb_keycode_t code = codes[0];
        std::free(codes);
        xcb_generic_error_t* error =
            xcb_request_check(connection, xcb_grab_key_checked(connection, 0, root, modifiers, code,
                                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }

private:
    xcb_connection_t* connection;
    xcb_window_t root = 0;
    xcb_key_symbols_t* symbols = nullptr;
};

class HotKeyBackendX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display";
        ASSERT_TRUE(xdotool({"version"})) << "xdotool is not installed";
        center = std::make_unique<HotKeyCenter>(std::make_unique<HotKeyBackendX11>());
    }

    std::function<void()> counting(int& count) {
        return [&count, this] {
            ++count;
            if (QThread::currentThread() != QCoreApplication::instance()->thread()) isOffMainThread = true;
        };
    }

    /// Presses a combination and runs the event loop until `count` reaches `expected`, then a
    /// little longer so that a second delivery would show too.
    static void press(const QString& combination, int& count, int expected) {
        ASSERT_TRUE(xdotool({"key", combination}));
        testing::waitUntil([&] { return count >= expected; }, 3000);
        settle();
    }
    /// Presses a combination that must not reach any handler.
    static void pressIgnored(const QString& combination) {
        ASSERT_TRUE(xdotool({"key", combination}));
        settle();
    }
    static void settle() {
        testing::waitUntil([] { return false; }, 250);
    }

    std::unique_ptr<HotKeyCenter> center;
    bool isOffMainThread = false;
};

TEST_F(HotKeyBackendX11Test, PressedCombinationRunsItsHandlerOnceOnTheMainThread) {
    int expands = 0, overviews = 0;
    ASSERT_TRUE(center->registerKey(Slot::expand, keyE, commandOption, counting(expands)));
    ASSERT_TRUE(center->registerKey(Slot::overview, keyG, commandOption, counting(overviews)));

    press("ctrl+alt+e", expands, 1);
    EXPECT_EQ(expands, 1);
    EXPECT_EQ(overviews, 0);
    EXPECT_FALSE(isOffMainThread);

    // The plain key and other modifiers are not the combination.
    pressIgnored("e");
    pressIgnored("ctrl+e");
    pressIgnored("ctrl+alt+shift+e");
    EXPECT_EQ(expands, 1);

    press("ctrl+alt+g", overviews, 1);
    EXPECT_EQ(overviews, 1);

    // Function and navigation keys, and a shifted digit, which X reports by its key.
    int others = 0;
    ASSERT_TRUE(center->registerKey(Slot::toggle, 96, 0x100, counting(others)));    // Ctrl+F5
    ASSERT_TRUE(center->registerKey(Slot::privacy, 18, 0x300, counting(others)));   // Ctrl+Shift+1
    ASSERT_TRUE(center->registerKey(Slot::overview, 116, 0x900, counting(others))); // Ctrl+Alt+PgUp
    press("ctrl+F5", others, 1);
    press("ctrl+shift+1", others, 2);
    press("ctrl+alt+Prior", others, 3);
    EXPECT_EQ(others, 3);
}

TEST_F(HotKeyBackendX11Test, HoldingCountsOnceCapsLockChangesNothingAndACombinationServesOneSlot) {
    int expands = 0;
    ASSERT_TRUE(center->registerKey(Slot::expand, keyE, commandOption, counting(expands)));
    EXPECT_FALSE(center->registerKey(Slot::toggle, keyE, commandOption, counting(expands)));
    EXPECT_TRUE(center->isRegistered(Slot::expand));
    EXPECT_FALSE(center->registerKey(Slot::toggle, 105, commandOption, [] {})) << "a key outside the table";
    // Held well past X's 660 ms repeat delay, so the server repeats the key; the letter goes up
    // last, as when the combination is let go the other way round.
    ASSERT_TRUE(xdotool({"keydown", "ctrl+alt+e"}));
    testing::waitUntil([] { return false; }, 1500);
    ASSERT_TRUE(xdotool({"keyup", "ctrl+alt"}));
    ASSERT_TRUE(xdotool({"keyup", "e"}));
    settle();
    EXPECT_EQ(expands, 1);
    ASSERT_TRUE(xdotool({"key", "Caps_Lock"}));
    press("ctrl+alt+e", expands, 2);
    ASSERT_TRUE(xdotool({"key", "Caps_Lock"}));
    EXPECT_EQ(expands, 2) << "the next press counts again, CapsLock on or not";
}

TEST_F(HotKeyBackendX11Test, CombinationHeldByAnotherProgramIsRefused) {
    int expands = 0;
    {
        OtherClient other;
        ASSERT_TRUE(other.isConnected());
        ASSERT_TRUE(other.grab('e', controlAlt));
        EXPECT_FALSE(center->registerKey(Slot::expand, keyE, commandOption, counting(expands)));
        EXPECT_FALSE(center->isRegistered(Slot::expand));
    }
    // Once the other program is gone the combination is free again. The server drops the other
    // connection's grabs when it gets round to the disconnect, so allow it a moment.
    EXPECT_TRUE(testing::waitUntil(
        [&] { return center->registerKey(Slot::expand, keyE, commandOption, counting(expands)); }, 3000));
}

TEST_F(HotKeyBackendX11Test, RegisteringASlotAgainLeavesOneGrabAndUnregisterAllReleasesEveryGrab) {
    int first = 0, second = 0;
    ASSERT_TRUE(center->registerKey(Slot::toggle, keyE, commandOption, counting(first)));
    ASSERT_TRUE(center->registerKey(Slot::toggle, keyE, commandOption, counting(second)));
    press("ctrl+alt+e", second, 1);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    // Moving the slot to another key frees the old one for other programs.
    ASSERT_TRUE(center->registerKey(Slot::toggle, keyG, commandOption, counting(second)));
    ASSERT_TRUE(center->registerKey(Slot::overview, 96, 0x100, counting(second))); // Ctrl+F5
    {
        OtherClient other;
        EXPECT_TRUE(other.grab('e', controlAlt));
        EXPECT_FALSE(other.grab('g', controlAlt));
    }
    center->unregisterAll();
    pressIgnored("ctrl+alt+g");
    EXPECT_EQ(second, 1);
    EXPECT_TRUE(testing::waitUntil([] { return OtherClient().grab('g', controlAlt); }, 3000));
    EXPECT_TRUE(OtherClient().grab(0xffc2, XCB_MOD_MASK_CONTROL)) << "F5";
}

} // namespace
} // namespace glimmer
