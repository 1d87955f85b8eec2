#include "model/AppPaths.h"

#include <cstdlib>
#include <mutex>

namespace glimmer::AppPaths {

namespace {

std::mutex& pathMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<std::filesystem::path>& cachedDir() {
    static std::optional<std::filesystem::path> dir;
    return dir;
}

std::filesystem::path homeFrom(const EnvLookup& env, HostPlatform platform) {
    if (auto home = env("HOME"); home && !home->empty()) return *home;
    if (platform == HostPlatform::windows) {
        if (auto profile = env("USERPROFILE"); profile && !profile->empty()) return *profile;
    }
    return ".";
}

} // namespace

std::optional<std::string> processEnv(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

std::filesystem::path appSupportDirFor(HostPlatform platform, const EnvLookup& env) {
    switch (platform) {
    case HostPlatform::macos:
        return homeFrom(env, platform) / "Library" / "Application Support" / "Glimmerbox";
    case HostPlatform::windows:
        if (auto appData = env("APPDATA"); appData && !appData->empty()) {
            return std::filesystem::path(*appData) / "Glimmerbox";
        }
        return homeFrom(env, platform) / "AppData" / "Roaming" / "Glimmerbox";
    case HostPlatform::linuxDesktop:
        break;
    }
    // XDG says a relative XDG_DATA_HOME is invalid and must be ignored.
    if (auto dataHome = env("XDG_DATA_HOME"); dataHome && !dataHome->empty() &&
                                              std::filesystem::path(*dataHome).is_absolute()) {
        return std::filesystem::path(*dataHome) / "Glimmerbox";
    }
    return homeFrom(env, platform) / ".local" / "share" / "Glimmerbox";
}

std::filesystem::path appSupportDir() {
    std::lock_guard lock(pathMutex());
    auto& dir = cachedDir();
    if (!dir) dir = appSupportDirFor(hostPlatform(), processEnv);
    return *dir;
}

void overrideAppSupportDir(const std::filesystem::path& dir) {
    std::lock_guard lock(pathMutex());
    cachedDir() = dir;
}

void ensureAppSupportDir() {
    std::error_code ignored;
    std::filesystem::create_directories(appSupportDir(), ignored);
}

std::filesystem::path configFile() {
    return appSupportDir() / "config.json";
}

std::filesystem::path logFile() {
    return appSupportDir() / "events.log";
}

std::filesystem::path homeDir() {
    return homeFrom(processEnv, hostPlatform());
}

} // namespace glimmer::AppPaths
