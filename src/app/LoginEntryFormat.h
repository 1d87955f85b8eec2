#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace glimmer::AutoLaunch {

struct Host;

/// The beginnings of the log lines that name a kind of login entry; the error text follows.
struct EntryTexts {
    std::string folderFailed;
    std::string writeFailed;
    std::string legacyRetired;
    std::string legacyFailed;
    /// What the application logs when the entry could not be written while start at login is on.
    std::string notWritten;
};

/// A kind of login entry: its file name, its content, and whether the running copy can be started by
/// one. Each platform's file picks one for `systemHost()`; tests may use any on any machine.
class LoginEntryFormat {
public:
    LoginEntryFormat(std::string extension, EntryTexts texts)
        : fileExtension(std::move(extension)), logTexts(std::move(texts)) {}
    virtual ~LoginEntryFormat() = default;

    /// ".plist", ".desktop"; empty for a system without login entries.
    const std::string& extension() const { return fileExtension; }
    const EntryTexts& texts() const { return logTexts; }
    /// The program the entry starts, or none after logging why the running copy cannot be one.
    virtual std::optional<std::filesystem::path> program(const Host& host) const = 0;
    /// The entry for `program`, or none when a path cannot be carried by it faithfully.
    virtual std::optional<std::string> content(const Host& host, const std::filesystem::path& program) const = 0;

private:
    std::string fileExtension;
    EntryTexts logTexts;
};

/// An XDG autostart desktop entry ("$XDG_CONFIG_HOME/autostart/<label>.desktop") that starts the
/// running executable when it is an installed copy rather than a build.
std::shared_ptr<const LoginEntryFormat> desktopEntryFormat();
/// A per-user launchd LaunchAgent ("~/Library/LaunchAgents/<label>.plist") that starts the executable
/// inside the running ".app" bundle, its output going to two files in the log folder.
std::shared_ptr<const LoginEntryFormat> launchAgentFormat();
/// For a system without login entries: enabling logs why and fails.
std::shared_ptr<const LoginEntryFormat> unsupportedFormat();

} // namespace glimmer::AutoLaunch
