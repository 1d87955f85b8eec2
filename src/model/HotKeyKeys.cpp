#include "model/HotKeyKeys.h"

#include <algorithm>
#include <array>

namespace glimmer::HotKeyKeys {

namespace {

// Printable keys use their (lower-case) Latin-1 keysym, which equals the character code.
constexpr std::array<Key, 51> keys{{
    {0, "A", 'a'},       {1, "S", 's'},     {2, "D", 'd'},     {3, "F", 'f'},  {4, "H", 'h'},     {5, "G", 'g'},
    {6, "Z", 'z'},       {7, "X", 'x'},     {8, "C", 'c'},     {9, "V", 'v'},  {11, "B", 'b'},    {12, "Q", 'q'},
    {13, "W", 'w'},      {14, "E", 'e'},    {15, "R", 'r'},    {16, "Y", 'y'}, {17, "T", 't'},    {31, "O", 'o'},
    {32, "U", 'u'},      {34, "I", 'i'},    {35, "P", 'p'},    {37, "L", 'l'}, {38, "J", 'j'},    {40, "K", 'k'},
    {45, "N", 'n'},      {46, "M", 'm'},    {18, "1", '1'},    {19, "2", '2'}, {20, "3", '3'},    {21, "4", '4'},
    {23, "5", '5'},      {22, "6", '6'},    {26, "7", '7'},    {28, "8", '8'}, {25, "9", '9'},    {29, "0", '0'},
    {50, "`", '`'},      {27, "-", '-'},    {24, "=", '='},    {33, "[", '['}, {30, "]", ']'},    {41, ";", ';'},
    {39, "'", '\''},     {43, ",", ','},    {47, ".", '.'},    {44, "/", '/'}, {36, "↩", 0xff0d}, {48, "⇥", 0xff09},
    {49, "Space", 0x20}, {51, "⌫", 0xff08}, {53, "⎋", 0xff1b},
}};

} // namespace

std::span<const Key> table() {
    return keys;
}

const Key* find(std::uint32_t keyCode) {
    const auto it = std::find_if(keys.begin(), keys.end(), [&](const Key& key) { return key.keyCode == keyCode; });
    return it == keys.end() ? nullptr : &*it;
}

std::string displayName(std::uint32_t keyCode, std::uint32_t modifiers) {
    std::string name;
    if (modifiers & commandBit) name += "⌘";
    if (modifiers & optionBit) name += "⌥";
    if (modifiers & controlBit) name += "⌃";
    if (modifiers & shiftBit) name += "⇧";
    const Key* key = find(keyCode);
    name += key != nullptr ? std::string(key->name) : "键" + std::to_string(keyCode);
    return name;
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
