#include "model/AppLog.h"

#include "model/AppPaths.h"
#include "model/FileSync.h"

#include <atomic>
#include <cstdio>
#include <filesystem>

namespace glimmer::AppLog {

namespace {

std::atomic<const Clock*> logClock{nullptr};
std::atomic<bool> echo{true};

void appendToFile(const std::filesystem::path& file, const std::string& line) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > static_cast<std::uintmax_t>(maxLogBytes)) {
        std::filesystem::remove(file, error);
    }
    // One write() on an append descriptor: a line of any length lands whole, whatever other
    // threads write meanwhile. stdio would split a line longer than its buffer.
    if (FileSync::appendAtOnce(file, line)) return;
    AppPaths::ensureAppSupportDir();
    FileSync::appendAtOnce(file, line);
}

} // namespace

std::string formatLine(const CivilTime& t, const std::string& level, const std::string& message) {
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "[%04d-%02d-%02d %02d:%02d:%02d] ", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    std::string line;
    line.reserve(std::char_traits<char>::length(stamp) + level.size() + message.size() + 2);
    line += stamp;
    line += level;
    line += ' ';
    line += message;
    line += '\n';
    return line;
}

void write(const std::string& level, const std::string& message) {
    const Clock* clock = logClock.load();
    if (!clock) clock = &Clock::system();
    const std::string line = formatLine(clock->localTime(clock->now()), level, message);
    if (echo.load()) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
    }
    appendToFile(AppPaths::logFile(), line);
}

void setClock(const Clock* clock) {
    logClock = clock;
}

void setEchoToStdout(bool on) {
    echo = on;
}

} // namespace glimmer::AppLog
