// launchd LaunchAgents, the login entries of macOS.
#include "app/AutoLaunch.h"
#include "app/AutoLaunchEntries.h"
#include "model/AppLog.h"

namespace glimmer::AutoLaunch {

namespace fs = std::filesystem;

namespace {

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
        return AutoLaunchEntries::launchAgentPlist(label, executable, (host.logDir / "launch.log").string(),
                                                   (host.logDir / "launch.err.log").string());
    }
};

} // namespace

std::shared_ptr<const LoginEntryFormat> launchAgentFormat() {
    return std::make_shared<const LaunchAgentFormat>();
}

} // namespace glimmer::AutoLaunch
