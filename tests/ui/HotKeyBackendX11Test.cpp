// The X11 hot-key backend against a real X server, pressed with xdotool (an x11 test).
#include "app/hotkeys/HotKeyBackendX11.h"
#include "app/hotkeys/HotKeyCenter.h"
#include "ui/TestApplication.h"

#include <QGuiApplication>
#include <QProcess>

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

/// Another program on the same display, with a connection of its own; its grabs go with it.
struct OtherClient {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    ~OtherClient() { xcb_disconnect(connection); }

    /// Whether the server lets this client grab the key of `keySym` with `modifiers`.
    bool grab(xcb_keysym_t keySym, std::uint16_t modifiers) {
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keySym);
        xcb_key_symbols_free(symbols);
        if (codes == nullptr) return false;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        xcb_generic_error_t* error =
            xcb_request_check(connection, xcb_grab_key_checked(connection, 0, root, modifiers, codes[0],
                                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(codes);
        std::free(error);
        return error == nullptr;
    }
};

class HotKeyBackendX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        testing::ensureApplication();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display";
        ASSERT_TRUE(xdotool({"version"})) << "xdotool is not installed";
        center = std::make_unique<HotKeyCenter>(std::make_unique<HotKeyBackendX11>());
    }

    /// Presses a combination and runs the event loop until `count` reaches `expected`, then a
    /// little longer so that a second delivery would show too.
    static void press(const QString& combination, const int& count = 0, int expected = 0) {
        ASSERT_TRUE(xdotool({"key", combination}));
        testing::waitUntil([&] { return count >= expected; }, 3000);
        testing::waitUntil([] { return false; }, 250);
    }

    std::unique_ptr<HotKeyCenter> center;
    int expands = 0, others = 0;
    std::function<void()> expand = [this] { ++expands; }, other = [this] { ++others; };
};

TEST_F(HotKeyBackendX11Test, PressedCombinationRunsItsHandlerOnce) {
    ASSERT_TRUE(center->registerKey(Slot::expand, keyE, commandOption, expand));
    ASSERT_TRUE(center->registerKey(Slot::overview, keyG, commandOption, other));
    press("ctrl+alt+e", expands, 1);
    // The plain key and other modifiers are not the combination.
    for (const char* ignored : {"e", "ctrl+e", "ctrl+alt+shift+e"}) press(ignored);
    EXPECT_EQ(std::pair(expands, others), std::pair(1, 0));
    press("ctrl+alt+g", others, 1);
    EXPECT_EQ(others, 1);

    // Function and navigation keys, and a shifted digit, which X reports by its key.
    ASSERT_TRUE(center->registerKey(Slot::toggle, 96, 0x100, other));    // Ctrl+F5
    ASSERT_TRUE(center->registerKey(Slot::privacy, 18, 0x300, other));   // Ctrl+Shift+1
    ASSERT_TRUE(center->registerKey(Slot::overview, 116, 0x900, other)); // Ctrl+Alt+PgUp
    press("ctrl+F5", others, 2);
    press("ctrl+shift+1", others, 3);
    press("ctrl+alt+Prior", others, 4);
    EXPECT_EQ(others, 4);
}

TEST_F(HotKeyBackendX11Test, HoldingCountsOnceCapsLockChangesNothingAndACombinationServesOneSlot) {
    ASSERT_TRUE(center->registerKey(Slot::expand, keyE, commandOption, expand));
    EXPECT_FALSE(center->registerKey(Slot::toggle, keyE, commandOption, expand));
    EXPECT_TRUE(center->isRegistered(Slot::expand));
    // Held well past X's 660 ms repeat delay, so the server repeats the key; the letter goes up
    // last, as when the combination is let go the other way round.
    ASSERT_TRUE(xdotool({"keydown", "ctrl+alt+e"}));
    testing::waitUntil([] { return false; }, 1500);
    ASSERT_TRUE(xdotool({"keyup", "ctrl+alt"}));
    ASSERT_TRUE(xdotool({"keyup", "e"}));
    press("Caps_Lock");
    EXPECT_EQ(expands, 1);
    press("ctrl+alt+e", expands, 2);
    ASSERT_TRUE(xdotool({"key", "Caps_Lock"}));
    EXPECT_EQ(expands, 2) << "the next press counts again, CapsLock on or not";
}

TEST_F(HotKeyBackendX11Test, CombinationHeldByAnotherProgramIsRefusedAndMovingASlotFreesItsOldKey) {
    {
        OtherClient other;
        ASSERT_TRUE(other.grab('e', controlAlt));
        EXPECT_FALSE(center->registerKey(Slot::expand, keyE, commandOption, expand));
        EXPECT_FALSE(center->isRegistered(Slot::expand));
    }
    // The server drops the other connection's grabs when it gets round to the disconnect.
    ASSERT_TRUE(
        testing::waitUntil([&] { return center->registerKey(Slot::toggle, keyE, commandOption, other); }, 3000));
    ASSERT_TRUE(center->registerKey(Slot::toggle, keyE, commandOption, expand));
    press("ctrl+alt+e", expands, 1);
    EXPECT_EQ(std::pair(expands, others), std::pair(1, 0)) << "registering a slot again leaves one grab";
    ASSERT_TRUE(center->registerKey(Slot::toggle, keyG, commandOption, expand));
    ASSERT_TRUE(center->registerKey(Slot::overview, 96, 0x100, expand)); // Ctrl+F5
    EXPECT_TRUE(OtherClient().grab('e', controlAlt));
    EXPECT_FALSE(OtherClient().grab('g', controlAlt));
    center->unregisterAll();
    press("ctrl+alt+g");
    EXPECT_EQ(expands, 1);
    EXPECT_TRUE(testing::waitUntil([] { return OtherClient().grab('g', controlAlt); }, 3000));
    EXPECT_TRUE(OtherClient().grab(0xffc2, XCB_MOD_MASK_CONTROL)) << "F5";
}

} // namespace
} // namespace glimmer
