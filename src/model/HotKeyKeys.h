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

/// One key a hot key may use: its macOS virtual key code, the name shown to the user and the X11
/// keysym it maps to on Linux.
struct Key {
    std::uint32_t keyCode;
    const char* name;
    std::uint32_t keySym;
};

/// The 51 keys with names, letters, digits and punctuation of the ANSI layout and five special keys.
std::span<const Key> table();
/// The key for a macOS key code, nullptr when it is not in the table.
const Key* find(std::uint32_t keyCode);

/// "⌥⌘E": modifier symbols command, option, control, shift (in that order), then the key name;
/// a key outside the table reads "键" + its decimal code.
std::string displayName(std::uint32_t keyCode, std::uint32_t modifiers);

/// X11 modifier masks for a stored mask, mapped as Qt maps them on Linux: command is Control,
/// option is Alt (Mod1), control is Super (Mod4), shift is Shift. Other bits are dropped.
std::uint16_t x11Modifiers(std::uint32_t modifiers);

} // namespace glimmer::HotKeyKeys
