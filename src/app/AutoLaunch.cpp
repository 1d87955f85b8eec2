#include "app/AutoLaunch.h"

#include "app/AutoLaunchEntries.h"
#include "model/AppLog.h"
#include "model/FileSync.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace glimmer::AutoLaunch {

namespace fs = std::filesystem;

namespace {

bool isPresent(const fs::path& path) {
    std::error_code error;
    return !path.empty() && fs::exists(path, error);
}

bool isMac(const Host& host) {
    return host.platform == HostPlatform::macos;
}

/// Writes through a temporary file renamed into place, so a login never sees half an entry.
bool writeAtomically(const fs::path& file, const std::string& content, std::string& errorText) {
    const fs::path temporary = file.string() + ".tmp-" + std::to_string(FileSync::processId());
    std::FILE* handle = std::fopen(temporary.c_str(), "wb");
    if (handle == nullptr) {
        errorText = std::strerror(errno);
        return false;
    }
    const bool written =
        std::fwrite(content.data(), 1, content.size(), handle) == content.size() && FileSync::syncToDisk(handle);
    const int writeErrno = errno;
    if (std::fclose(handle) != 0 || !written) {
        errorText = std::strerror(written ? errno : writeErrno);
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    std::error_code error;
    fs::rename(temporary, file, error);
    if (error) {
        errorText = error.message();
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

void runBootout(const Host& host, const std::string& which) {
    if (host.bootout) host.bootout(which);
}

} // namespace

fs::path entryFile(const Host& host, const std::string& name) {
    return host.agentDir / (name + (isMac(host) ? ".plist" : ".desktop"));
}

fs::path plistURL(const Host& host) {
    return entryFile(host, label);
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

bool sync(bool enabled) {
    return sync(enabled, systemHost());
}

bool sync(bool enabled, const Host& host) {
    retireLegacy(host);
    if (enabled) return install(host);
    if (!isPresent(plistURL(host))) return true;
    return uninstall(host);
}

bool install(const Host& host) {
    const std::string running = host.runningPath.string();
    const bool isInstalled = isMac(host) ? running.ends_with(".app") && isPresent(host.runningPath)
                                         : isPresent(host.runningPath) && !isInsideBuildTree(host.runningPath);
    if (!isInstalled) {
        AppLog::write("ERR ", "开机自启跳过：当前不是 .app 运行环境（" + running + "）");
        return false;
    }
    const fs::path executable = isMac(host) ? fs::path(running + "/Contents/MacOS/Glimmerbox") : host.runningPath;
    if (!isPresent(executable)) {
        AppLog::write("ERR ", "开机自启跳过：找不到可执行文件 " + executable.string());
        return false;
    }

    const std::string outLog = (host.logDir / "launch.log").string();
    const std::string errLog = (host.logDir / "launch.err.log").string();
    const bool isWritable = AutoLaunchEntries::isWritableText(executable.string()) &&
                            (!isMac(host) || AutoLaunchEntries::isWritableText(host.logDir.string()));
    const std::string content = isMac(host)
                                    ? AutoLaunchEntries::launchAgentPlist(label, executable.string(), outLog, errLog)
                                    : AutoLaunchEntries::desktopEntry(executable.string());

    std::error_code error;
    fs::create_directories(host.agentDir, error);
    if (error) {
        AppLog::write("ERR ", "开机自启失败：创建 LaunchAgents 目录出错 " + error.message());
        return false;
    }
    const fs::path file = plistURL(host);
    std::string errorText = "路径含控制字符或不是 UTF-8，无法写入";
    if (!isWritable || !writeAtomically(file, content, errorText)) {
        AppLog::write("ERR ", "开机自启失败：写入 plist 出错 " + errorText);
        return false;
    }
    AppLog::write("INFO", "开机自启已开启 " + file.string());
    return true;
}

bool uninstall(const Host& host) {
    runBootout(host, label);
    const fs::path file = plistURL(host);
    std::error_code error;
    if (fs::remove(file, error)) {
        AppLog::write("INFO", "开机自启已关闭 " + file.string());
        return true;
    }
    if (!error) error = std::make_error_code(std::errc::no_such_file_or_directory);
    AppLog::write("ERR ", "开机自启关闭失败：" + error.message());
    return false;
}

void retireLegacy(const Host& host) {
    const fs::path legacy = entryFile(host, legacyLabel);
    if (!isPresent(legacy)) return;
    runBootout(host, legacyLabel);
    const fs::path backup = legacy.string() + ".bak";
    std::error_code error;
    fs::remove(backup, error);
    if (!error) fs::rename(legacy, backup, error);
    if (error) {
        AppLog::write("ERR ", "开机自启：旧 id LaunchAgent 退役失败 " + error.message());
        return;
    }
    AppLog::write("INFO", "开机自启：旧 id LaunchAgent 已退役 " + legacy.filename().string() + " → " +
                              backup.filename().string());
}

} // namespace glimmer::AutoLaunch
