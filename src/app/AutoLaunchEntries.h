#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glimmer::AutoLaunchEntries {

/// Text placed in an entry must be UTF-8 without control characters: neither an XML property list
/// nor a desktop entry can carry anything else faithfully.
bool isWritableText(std::string_view text);

/// One Exec argument: double-quoted with ", `, $ and \ backslash-escaped, % doubled; then the
/// desktop-entry string escapes applied to the result.
std::string desktopExecArgument(std::string_view argument);

/// An XDG autostart entry that starts `executable` at login.
std::string desktopEntry(std::string_view executable);

} // namespace glimmer::AutoLaunchEntries
