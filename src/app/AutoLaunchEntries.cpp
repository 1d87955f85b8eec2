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

std::string xmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string launchAgentPlist(std::string_view label, std::string_view executable, std::string_view outLog,
                             std::string_view errLog) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                      "<plist version=\"1.0\">\n<dict>\n";
    const auto key = [&](std::string_view name) { xml += "\t<key>" + std::string(name) + "</key>\n"; };
    const auto string = [&](std::string_view value, const char* indent = "\t") {
        xml += std::string(indent) + "<string>" + xmlEscaped(value) + "</string>\n";
    };
    key("KeepAlive");
    xml += "\t<false/>\n";
    key("Label");
    string(label);
    key("ProcessType");
    string("Interactive");
    key("ProgramArguments");
    xml += "\t<array>\n";
    string(executable, "\t\t");
    xml += "\t</array>\n";
    key("RunAtLoad");
    xml += "\t<true/>\n";
    key("StandardErrorPath");
    string(errLog);
    key("StandardOutPath");
    string(outLog);
    xml += "</dict>\n</plist>\n";
    return xml;
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
