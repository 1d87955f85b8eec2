#include "model/HotKeyKeys.h"

#include <gtest/gtest.h>

#include <set>

namespace glimmer {
namespace {

TEST(HotKeyDisplayName, PutsCommandBeforeOptionControlAndShift) {
    EXPECT_EQ(HotKeyKeys::displayName(14, 0x900), "⌘⌥E");
    EXPECT_EQ(HotKeyKeys::displayName(49, 0x1100), "⌘⌃Space");
    EXPECT_EQ(HotKeyKeys::displayName(3, 0x1b00), "⌘⌥⌃⇧F");
    EXPECT_EQ(HotKeyKeys::displayName(36, 0x200), "⇧↩");
    EXPECT_EQ(HotKeyKeys::displayName(29, 0), "0");
}

TEST(HotKeyDisplayName, KeyOutsideTheTableReadsAsItsDecimalCode) {
    EXPECT_EQ(HotKeyKeys::displayName(105, 0x100), "⌘键105");
    // 10 sits between table entries (the ISO section key) and has no name.
    EXPECT_EQ(HotKeyKeys::displayName(10, 0), "键10");
    EXPECT_EQ(HotKeyKeys::displayName(4294967295u, 0), "键4294967295");
}

TEST(HotKeyKeyTable, HoldsFiftyOneKeysEachWithItsOwnCodeAndKeySym) {
    const auto keys = HotKeyKeys::table();
    ASSERT_EQ(keys.size(), 51u);
    std::set<std::uint32_t> codes, keySyms;
    for (const auto& key : keys) {
        codes.insert(key.keyCode);
        keySyms.insert(key.keySym);
        EXPECT_EQ(HotKeyKeys::find(key.keyCode), &key);
    }
    EXPECT_EQ(codes.size(), 51u);
    EXPECT_EQ(keySyms.size(), 51u);
    // Digits follow the ANSI layout, not numeric order.
    EXPECT_EQ(HotKeyKeys::find(22)->keySym, std::uint32_t('6'));
    EXPECT_EQ(HotKeyKeys::find(23)->keySym, std::uint32_t('5'));
    EXPECT_EQ(HotKeyKeys::find(53)->keySym, 0xff1bu); // Escape
    EXPECT_EQ(HotKeyKeys::find(10), nullptr);
}

TEST(HotKeyKeyTable, ModifiersMapLikeQtOnLinux) {
    constexpr std::uint16_t shift = 0x01, control = 0x04, alt = 0x08, super = 0x40;
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x100), control);
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x800), alt);
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x1000), super);
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x200), shift);
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x900), control | alt);
    // Carbon's other bits (caps lock 0x400, the right-hand variants) are not part of a combination.
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x400 | 0x2000 | 0x4000), 0);
}

} // namespace
} // namespace glimmer
