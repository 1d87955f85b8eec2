#include "app/AutoLaunch.h"

#include "model/AppLog.h"
#include "model/FileSync.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace glimmer::AutoLaunch {

namespace fs = std::filesystem;

namespace {

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

/// No login entries on this system: enabling says so and fails, disabling finds nothing to remove.
class UnsupportedFormat final : public LoginEntryFormat {
public:
    UnsupportedFormat()
        : LoginEntryFormat("", {"开机自启失败：创建目录出错 ", "开机自启失败：写入出错 ", "开机自启：旧 id 已退役 ",
                                "开机自启：旧 id 退役失败 ", "开机自启未能开启（此系统暂不支持）"}) {}

    std::optional<fs::path> program(const Host&) const override {
        AppLog::write("ERR ", "开机自启跳过：此系统暂不支持开机自启");
        return std::nullopt;
    }
    std::optional<std::string> content(const Host&, const fs::path&) const override { return std::nullopt; }
};

} // namespace

std::shared_ptr<const LoginEntryFormat> unsupportedFormat() {
    return std::make_shared<const UnsupportedFormat>();
}

bool isPresent(const fs::path& path) {
    std::error_code error;
    return !path.empty() && fs::exists(path, error);
}

fs::path entryFile(const Host& host, const std::string& name) {
    // Without a folder there are no entries; a bare file name would point into the working folder.
    if (host.agentDir.empty()) return {};
    return host.agentDir / (name + host.format->extension());
}

fs::path currentEntry(const Host& host) {
    return entryFile(host, label);
}

bool sync(bool enabled, const Host& host) {
    retireLegacy(host);
    if (enabled) return install(host);
    if (!isPresent(currentEntry(host))) return true;
    return uninstall(host);
}

bool install(const Host& host) {
    const LoginEntryFormat& format = *host.format;
    const std::optional<fs::path> program = format.program(host);
    if (!program) return false;
    const std::optional<std::string> content = format.content(host, *program);

    std::error_code error;
    fs::create_directories(host.agentDir, error);
    if (error) {
        AppLog::write("ERR ", format.texts().folderFailed + error.message());
        return false;
    }
    const fs::path file = currentEntry(host);
    std::string errorText = "路径含控制字符或不是 UTF-8，无法写入";
    if (!content || !writeAtomically(file, *content, errorText)) {
        AppLog::write("ERR ", format.texts().writeFailed + errorText);
        return false;
    }
    AppLog::write("INFO", "开机自启已开启 " + file.string());
    return true;
}

bool uninstall(const Host& host) {
    runBootout(host, label);
    const fs::path file = currentEntry(host);
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
    const EntryTexts& texts = host.format->texts();
    if (error) {
        AppLog::write("ERR ", texts.legacyFailed + error.message());
        return;
    }
    AppLog::write("INFO", texts.legacyRetired + legacy.filename().string() + " → " + backup.filename().string());
}

} // namespace glimmer::AutoLaunch
