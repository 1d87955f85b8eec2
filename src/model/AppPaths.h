#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace glimmer {

enum class HostPlatform { linuxDesktop, macos, windows };

/// Where the program keeps its files. This is the only place that decides a path.
namespace AppPaths {

using EnvLookup = std::function<std::optional<std::string>(const char* name)>;

/// The platform this build runs on (chosen by the build).
HostPlatform hostPlatform();

/// The application-support folder for a platform and environment:
/// Linux "$XDG_DATA_HOME/Glimmerbox" (default "~/.local/share/Glimmerbox"),
/// macOS "~/Library/Application Support/Glimmerbox", Windows "%APPDATA%\Glimmerbox".
std::filesystem::path appSupportDirFor(HostPlatform platform, const EnvLookup& env);

/// The folder for this process, computed once from the environment (or the override).
std::filesystem::path appSupportDir();
/// Creates the folder with its parents; failures are ignored.
void ensureAppSupportDir();
/// Points every file of the program at another folder (tests, diagnostics).
void overrideAppSupportDir(const std::filesystem::path& dir);

std::filesystem::path configFile();
std::filesystem::path logFile();

/// The user's home folder ("HOME", or "USERPROFILE" on Windows).
std::filesystem::path homeDir();

/// Reads the process environment.
std::optional<std::string> processEnv(const char* name);

} // namespace AppPaths

} // namespace glimmer
