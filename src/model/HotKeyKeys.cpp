#include "model/HotKeyKeys.h"

#include "model/AppPaths.h"

#include <algorithm>
#include <array>

namespace glimmer::HotKeyKeys {

namespace {

// Printable keys use their (lower-case) Latin-1 keysym, which equals the character code. Key codes
// added after the first 51 only extend the table, so every stored code keeps its meaning.
constexpr std::array<Key, 71> keys{{
    {0, "A", "A", 'a', "a", 0},
    {1, "S", "S", 's', "s", 0},
    {2, "D", "D", 'd', "d", 0},
    {3, "F", "F", 'f', "f", 0},
    {4, "H", "H", 'h', "h", 0},
    {5, "G", "G", 'g', "g", 0},
    {6, "Z", "Z", 'z', "z", 0},
    {7, "X", "X", 'x', "x", 0},
    {8, "C", "C", 'c', "c", 0},
    {9, "V", "V", 'v', "v", 0},
    {11, "B", "B", 'b', "b", 0},
    {12, "Q", "Q", 'q', "q", 0},
    {13, "W", "W", 'w', "w", 0},
    {14, "E", "E", 'e', "e", 0},
    {15, "R", "R", 'r', "r", 0},
    {16, "Y", "Y", 'y', "y", 0},
    {17, "T", "T", 't', "t", 0},
    {31, "O", "O", 'o', "o", 0},
    {32, "U", "U", 'u', "u", 0},
    {34, "I", "I", 'i', "i", 0},
    {35, "P", "P", 'p', "p", 0},
    {37, "L", "L", 'l', "l", 0},
    {38, "J", "J", 'j', "j", 0},
    {40, "K", "K", 'k', "k", 0},
    {45, "N", "N", 'n', "n", 0},
    {46, "M", "M", 'm', "m", 0},
    {18, "1", "1", '1', "1", 10},
    {19, "2", "2", '2', "2", 11},
    {20, "3", "3", '3', "3", 12},
    {21, "4", "4", '4', "4", 13},
    {23, "5", "5", '5', "5", 14},
    {22, "6", "6", '6', "6", 15},
    {26, "7", "7", '7', "7", 16},
    {28, "8", "8", '8', "8", 17},
    {25, "9", "9", '9', "9", 18},
    {29, "0", "0", '0', "0", 19},
    {50, "`", "`", '`', "grave", 49},
    {27, "-", "-", '-', "minus", 20},
    {24, "=", "=", '=', "equal", 21},
    {33, "[", "[", '[', "bracketleft", 34},
    {30, "]", "]", ']', "bracketright", 35},
    {41, ";", ";", ';', "semicolon", 47},
    {39, "'", "'", '\'', "apostrophe", 48},
    {43, ",", ",", ',', "comma", 59},
    {47, ".", ".", '.', "period", 60},
    {44, "/", "/", '/', "slash", 61},
    {36, "↩", "Enter", 0xff0d, "Return", 0},
    {48, "⇥", "Tab", 0xff09, "Tab", 0},
    {49, "Space", "Space", 0x20, "space", 0},
    {51, "⌫", "Backspace", 0xff08, "BackSpace", 0},
    {53, "⎋", "Esc", 0xff1b, "Escape", 0},
    {122, "F1", "F1", 0xffbe, "F1", 0},
    {120, "F2", "F2", 0xffbf, "F2", 0},
    {99, "F3", "F3", 0xffc0, "F3", 0},
    {118, "F4", "F4", 0xffc1, "F4", 0},
    {96, "F5", "F5", 0xffc2, "F5", 0},
    {97, "F6", "F6", 0xffc3, "F6", 0},
    {98, "F7", "F7", 0xffc4, "F7", 0},
    {100, "F8", "F8", 0xffc5, "F8", 0},
    {101, "F9", "F9", 0xffc6, "F9", 0},
    {109, "F10", "F10", 0xffc7, "F10", 0},
    {103, "F11", "F11", 0xffc8, "F11", 0},
    {111, "F12", "F12", 0xffc9, "F12", 0},
    {123, "←", "Left", 0xff51, "Left", 0},
    {124, "→", "Right", 0xff53, "Right", 0},
    {125, "↓", "Down", 0xff54, "Down", 0},
    {126, "↑", "Up", 0xff52, "Up", 0},
    {115, "↖", "Home", 0xff50, "Home", 0},
    {119, "↘", "End", 0xff57, "End", 0},
    {116, "⇞", "PgUp", 0xff55, "Page_Up", 0},
    {121, "⇟", "PgDown", 0xff56, "Page_Down", 0},
}};

struct Modifier {
    std::uint32_t bit;
    const char* symbol;
    const char* word;
};
// A Mac puts command first; PC desktops write Ctrl, Alt, Shift, then the logo key.
constexpr std::array<Modifier, 4> symbolOrder{
    {{commandBit, "⌘", "Ctrl"}, {optionBit, "⌥", "Alt"}, {controlBit, "⌃", "Super"}, {shiftBit, "⇧", "Shift"}}};
constexpr std::array<Modifier, 4> wordOrder{
    {{commandBit, "⌘", "Ctrl"}, {optionBit, "⌥", "Alt"}, {shiftBit, "⇧", "Shift"}, {controlBit, "⌃", "Super"}}};

Style buildStyle() {
    return AppPaths::hostPlatform() == HostPlatform::macos ? Style::symbols : Style::words;
}

} // namespace

std::span<const Key> table() {
    return keys;
}

const Key* find(std::uint32_t keyCode) {
    const auto it = std::find_if(keys.begin(), keys.end(), [&](const Key& key) { return key.keyCode == keyCode; });
    return it == keys.end() ? nullptr : &*it;
}

const Key* findByScanCode(std::uint32_t scanCode) {
    if (scanCode == 0) return nullptr;
    const auto it = std::find_if(keys.begin(), keys.end(), [&](const Key& key) { return key.scanCode == scanCode; });
    return it == keys.end() ? nullptr : &*it;
}

std::string displayName(std::uint32_t keyCode, std::uint32_t modifiers, Style style) {
    const Key* key = find(keyCode);
    std::string keyName = "键" + std::to_string(keyCode);
    if (key != nullptr) keyName = style == Style::symbols ? key->macName : key->name;
    std::string name;
    for (const Modifier& modifier : style == Style::symbols ? symbolOrder : wordOrder) {
        if (modifiers & modifier.bit)
            name += style == Style::symbols ? modifier.symbol : modifier.word + std::string("+");
    }
    return name + keyName;
}

std::string displayName(std::uint32_t keyCode, std::uint32_t modifiers) {
    return displayName(keyCode, modifiers, buildStyle());
}

std::string displayName(Combination combination) {
    return displayName(combination.keyCode, combination.modifiers);
}

std::string modifierName(std::uint32_t bit) {
    for (const Modifier& modifier : symbolOrder) {
        if (modifier.bit == bit) return buildStyle() == Style::symbols ? modifier.symbol : modifier.word;
    }
    return {};
}

std::string portalTrigger(std::uint32_t keyCode, std::uint32_t modifiers) {
    const Key* key = find(keyCode);
    if (key == nullptr) return {};
    std::string trigger;
    if (modifiers & commandBit) trigger += "CTRL+";
    if (modifiers & optionBit) trigger += "ALT+";
    if (modifiers & shiftBit) trigger += "SHIFT+";
    if (modifiers & controlBit) trigger += "LOGO+";
    return trigger + key->keySymName;
}

std::uint16_t x11Modifiers(std::uint32_t modifiers) {
    constexpr std::uint16_t shiftMask = 1 << 0, controlMask = 1 << 2, mod1Mask = 1 << 3, mod4Mask = 1 << 6;
    std::uint16_t mask = 0;
    if (modifiers & commandBit) mask |= controlMask;
    if (modifiers & optionBit) mask |= mod1Mask;
    if (modifiers & controlBit) mask |= mod4Mask;
    if (modifiers & shiftBit) mask |= shiftMask;
    return mask;
}

} // namespace glimmer::HotKeyKeys
