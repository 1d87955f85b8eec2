// XDG autostart desktop entries, the login entries of Linux desktops.
#include "app/AutoLaunch.h"
#include "app/AutoLaunchEntries.h"
#include "model/AppLog.h"

#include <system_error>

namespace glimmer::AutoLaunch {

namespace fs = std::filesystem;

namespace {

class DesktopEntryFormat final : public LoginEntryFormat {
public:
    DesktopEntryFormat()
        : LoginEntryFormat(".desktop", {"开机自启失败：创建自启动目录出错 ", "开机自启失败：写入自启动项出错 ",
                                        "开机自启：旧 id 自启动项已退役 ", "开机自启：旧 id 自启动项退役失败 ",
                                        "开机自启未能写入自启动项 ~/.config/autostart/" + std::string(label) +
                                            ".desktop（当前程序可能不是安装后的副本）"}) {}

    std::optional<fs::path> program(const Host& host) const override {
        if (!isPresent(host.runningPath) || isInsideBuildTree(host.runningPath)) {
            AppLog::write("ERR ", "开机自启跳过：当前程序不是安装后的副本（" + host.runningPath.string() + "）");
            return std::nullopt;
        }
        return host.runningPath;
    }

    std::optional<std::string> content(const Host&, const fs::path& program) const override {
        if (!AutoLaunchEntries::isWritableText(program.string())) return std::nullopt;
        return AutoLaunchEntries::desktopEntry(program.string());
    }
};

} // namespace

std::shared_ptr<const LoginEntryFormat> desktopEntryFormat() {
    return std::make_shared<const DesktopEntryFormat>();
}

bool isInsideBuildTree(const fs::path& path) {
    std::error_code error;
    fs::path folder = path.parent_path();
    while (!folder.empty()) {
        if (fs::exists(folder / "CMakeCache.txt", error)) return true;
        const fs::path parent = folder.parent_path();
        if (parent == folder) break;
        folder = parent;
    }
    return false;
}

fs::path autostartDir(const AppPaths::EnvLookup& env) {
    if (const auto config = env("XDG_CONFIG_HOME"); config && fs::path(*config).is_absolute())
        return fs::path(*config) / "autostart";
    const auto home = env("HOME");
    return fs::path(home ? *home : std::string()) / ".config" / "autostart";
}

} // namespace glimmer::AutoLaunch
