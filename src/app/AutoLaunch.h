#pragma once

#include "app/LoginEntryFormat.h"
#include "model/AppPaths.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace glimmer::AutoLaunch {

/// The identifier the login entry is named after, and the one an earlier release used.
inline constexpr const char* label = "io.glimmerbox.Glimmerbox";
inline constexpr const char* legacyLabel = "io.glimmerbox.widget";

/// Where and how this machine starts programs at login. systemHost() gives the real one; tests
/// build their own with temporary folders and a recording bootout.
struct Host {
    std::shared_ptr<const LoginEntryFormat> format = unsupportedFormat();
    /// The per-user folder of login entries.
    std::filesystem::path agentDir;
    /// The running application as the format needs it (the bundle or the executable); empty when unknown.
    std::filesystem::path runningPath;
    /// Where the started program's standard output and error go, for formats that redirect them.
    std::filesystem::path logDir;
    /// Unloads a label from the session's service manager; unset where there is none.
    std::function<void(const std::string& label)> bootout;
};

/// This process on this machine (one file per platform).
Host systemHost();

/// Retires the legacy entry, then installs (enabled) or removes the entry. Every outcome is logged;
/// false means the wish could not be carried out.
bool sync(bool enabled, const Host& host);

bool install(const Host& host);
bool uninstall(const Host& host);
/// Moves a legacy entry aside to "<file>.bak" (replacing an older backup); nothing when absent.
void retireLegacy(const Host& host);

/// The entry file of a label on this host.
std::filesystem::path entryFile(const Host& host, const std::string& label);
/// The entry file of the current label.
std::filesystem::path currentEntry(const Host& host);

/// Whether `path` names something that exists; false for an empty path.
bool isPresent(const std::filesystem::path& path);

/// Whether a program at `path` lives in a build tree (a folder above it holds CMakeCache.txt),
/// which is not a place to start from at login.
bool isInsideBuildTree(const std::filesystem::path& path);

/// "$XDG_CONFIG_HOME/autostart" when that variable holds an absolute path, else "~/.config/autostart".
std::filesystem::path autostartDir(const AppPaths::EnvLookup& env);

} // namespace glimmer::AutoLaunch
