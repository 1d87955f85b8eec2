#include "app/AutoLaunchEntries.h"

#include "model/TextFormat.h"

namespace glimmer::AutoLaunchEntries {

bool isWritableText(std::string_view text) {
    if (!TextFormat::isValidUtf8(text)) return false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) return false;
    }
    return true;
}

std::string desktopExecArgument(std::string_view argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
        if (c == '%') quoted += '%';
    }
    quoted += '"';
    // The Exec value is itself a string value, whose own escapes apply on top.
    std::string value;
    for (const char c : quoted) {
        if (c == '\\')
            value += "\\\\";
        else
            value += c;
    }
    return value;
}

std::string desktopEntry(std::string_view executable) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Glimmerbox\n"
           "Comment=A-share stock watcher\n"
           "Exec=" +
           desktopExecArgument(executable) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

} // namespace glimmer::AutoLaunchEntries
