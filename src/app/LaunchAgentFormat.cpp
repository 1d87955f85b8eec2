// launchd LaunchAgents, the login entries of macOS. Built into the macOS program only, so its words
// never reach a Linux user; the tests build it everywhere.
#include "app/AutoLaunch.h"
#include "app/AutoLaunchEntries.h"
#include "model/AppLog.h"

namespace glimmer::AutoLaunch {

namespace fs = std::filesystem;

namespace {

/// XML character data with &, <, >, " and ' replaced by entities.
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

/// A launchd agent that starts `executable` once at login, interactive, not kept alive.
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

class LaunchAgentFormat final : public LoginEntryFormat {
public:
    LaunchAgentFormat()
        : LoginEntryFormat(".plist", {"开机自启失败：创建 LaunchAgents 目录出错 ", "开机自启失败：写入 plist 出错 ",
                                      "开机自启：旧 id LaunchAgent 已退役 ", "开机自启：旧 id LaunchAgent 退役失败 ",
                                      "开机自启未能写入 LaunchAgent（当前路径可能不是 .app）"}) {}

    std::optional<fs::path> program(const Host& host) const override {
        const std::string bundle = host.runningPath.string();
        if (!bundle.ends_with(".app") || !isPresent(host.runningPath)) {
            AppLog::write("ERR ", "开机自启跳过：当前不是 .app 运行环境（" + bundle + "）");
            return std::nullopt;
        }
        const fs::path executable = bundle + "/Contents/MacOS/Glimmerbox";
        if (!isPresent(executable)) {
            AppLog::write("ERR ", "开机自启跳过：找不到可执行文件 " + executable.string());
            return std::nullopt;
        }
        return executable;
    }

    std::optional<std::string> content(const Host& host, const fs::path& program) const override {
        const std::string executable = program.string();
        if (!AutoLaunchEntries::isWritableText(executable) || !AutoLaunchEntries::isWritableText(host.logDir.string()))
            return std::nullopt;
        return launchAgentPlist(label, executable, (host.logDir / "launch.log").string(),
                                (host.logDir / "launch.err.log").string());
    }
};

} // namespace

std::shared_ptr<const LoginEntryFormat> launchAgentFormat() {
    return std::make_shared<const LaunchAgentFormat>();
}

} // namespace glimmer::AutoLaunch
