#include "model/HotKeyKeys.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

using HotKeyKeys::Style;

TEST(HotKeyDisplayName, NamesTheTableAndTheModifiersOfX11AndThePortal) {
    struct Case {
        std::uint32_t keyCode, modifiers;
        const char* symbols;
        const char* words;
    };
    const Case cases[] = {
        {14, 0x900, "⌘⌥E", "Ctrl+Alt+E"},
        {49, 0x1100, "⌘⌃Space", "Ctrl+Super+Space"},
        {3, 0x1b00, "⌘⌥⌃⇧F", "Ctrl+Alt+Shift+Super+F"},
        {40, 0x1000, "⌃K", "Super+K"},
        {18, 0x300, "⌘⇧1", "Ctrl+Shift+1"},
        {53, 0x800, "⌥⎋", "Alt+Esc"},
        {123, 0x900, "⌘⌥←", "Ctrl+Alt+Left"},
        {29, 0, "0", "0"},
        // Outside the table: 105 (F13), 10 (the ISO section key, between entries), the largest code.
        {105, 0x100, "⌘键105", "Ctrl+键105"},
        {10, 0, "键10", "键10"},
        {4294967295u, 0, "键4294967295", "键4294967295"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HotKeyKeys::displayName(c.keyCode, c.modifiers, Style::symbols), c.symbols) << c.words;
        EXPECT_EQ(HotKeyKeys::displayName(c.keyCode, c.modifiers, Style::words), c.words);
    }
    for (const auto& key : HotKeyKeys::table()) EXPECT_EQ(HotKeyKeys::find(key.keyCode), &key);
    EXPECT_EQ(HotKeyKeys::find(10), nullptr);
    // The key under a shifted character, by its place on a PC keyboard.
    EXPECT_EQ(HotKeyKeys::findByScanCode(10)->keyCode, 18u); // 1
    EXPECT_EQ(HotKeyKeys::findByScanCode(19)->keyCode, 29u); // 0
    EXPECT_EQ(HotKeyKeys::findByScanCode(61)->keyCode, 44u); // slash
    EXPECT_EQ(HotKeyKeys::findByScanCode(0), nullptr);
    EXPECT_EQ(HotKeyKeys::findByScanCode(41), nullptr); // F, a letter: found by its character
    constexpr std::uint16_t shift = 0x01, control = 0x04, alt = 0x08, super = 0x40;
    // Carbon's other bits (caps lock 0x400, the right-hand variants) are not part of a combination.
    std::vector<std::uint16_t> x11;
    for (const std::uint32_t carbon : {0x100, 0x800, 0x1000, 0x200, 0x900, 0x400 | 0x2000 | 0x4000}) {
        x11.push_back(HotKeyKeys::x11Modifiers(carbon));
    }
    EXPECT_EQ(x11, (std::vector<std::uint16_t>{control, alt, super, shift, control | alt, 0}));

    // The hot-key centre and portal tests check the fixed combinations in words and as portal triggers.
    EXPECT_EQ(HotKeyKeys::portalTrigger(27, 0x100), "CTRL+minus");
    EXPECT_EQ(HotKeyKeys::portalTrigger(116, 0x400 | 0x800), "ALT+Page_Up");
    EXPECT_EQ(HotKeyKeys::portalTrigger(105, 0x900), "");
}

} // namespace
} // namespace glimmer
