#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace glimmer::HotKeyKeys {

/// Modifier bits as stored in the configuration (the macOS Carbon mask), so files move between machines.
inline constexpr std::uint32_t commandBit = 0x100;
inline constexpr std::uint32_t shiftBit = 0x200;
inline constexpr std::uint32_t optionBit = 0x800;
inline constexpr std::uint32_t controlBit = 0x1000;

/// A stored key combination.
struct Combination {
    std::uint32_t keyCode;
    std::uint32_t modifiers;
};
/// The fixed combinations of expand mode (E) and the overview (G), command + option.
inline constexpr Combination expandKeys{14, commandBit | optionBit};
inline constexpr Combination overviewKeys{5, commandBit | optionBit};

/// One key a hot key may use: its macOS virtual key code, its names on a Mac and elsewhere, the X11
/// keysym it maps to on Linux with that keysym's name, and the X11 key code of its place on a PC
/// keyboard for the digits and punctuation (0 for the others), which finds the key under a shifted
/// character.
struct Key {
    std::uint32_t keyCode;
    const char* macName;
    const char* name;
    std::uint32_t keySym;
    const char* keySymName;
    std::uint32_t scanCode;
};

/// The 71 keys with names: letters, digits and punctuation of the ANSI layout, five special keys,
/// F1–F12, the arrows, Home, End, Page Up and Page Down.
std::span<const Key> table();
/// The key for a macOS key code, nullptr when it is not in the table.
const Key* find(std::uint32_t keyCode);
/// The key at an X11 (evdev) key code, for the digits and punctuation only; nullptr otherwise.
const Key* findByScanCode(std::uint32_t scanCode);

/// How combinations read: the Mac's symbols ("⌘⌥E") or the words of Linux and Windows ("Ctrl+Alt+E").
enum class Style { symbols, words };

/// "⌘⌥E": modifier symbols command, option, control, shift (in that order), then the key name.
/// "Ctrl+Alt+E": the modifiers as a PC keyboard labels them (command is Ctrl, option Alt, control
/// Super), in the order Ctrl, Alt, Shift, Super. A key outside the table reads "键" + its decimal code.
std::string displayName(std::uint32_t keyCode, std::uint32_t modifiers, Style style);
/// In this build's style (symbols on macOS, words elsewhere).
std::string displayName(std::uint32_t keyCode, std::uint32_t modifiers);
std::string displayName(Combination keys);
/// The name of one modifier bit in this build's style ("Ctrl", "⌘").
std::string modifierName(std::uint32_t bit);

/// The trigger the desktop portal takes ("CTRL+ALT+e", "LOGO+F1"); empty for a key outside the table.
std::string portalTrigger(std::uint32_t keyCode, std::uint32_t modifiers);

/// X11 modifier masks for a stored mask, mapped as Qt maps them on Linux: command is Control,
/// option is Alt (Mod1), control is Super (Mod4), shift is Shift. Other bits are dropped.
std::uint16_t x11Modifiers(std::uint32_t modifiers);

} // namespace glimmer::HotKeyKeys
