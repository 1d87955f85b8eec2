#pragma once

#include "model/Clock.h"

#include <string>

namespace glimmer::AppLog {

/// Appends one line "[yyyy-MM-dd HH:mm:ss] LEVL message\n" to events.log and mirrors it to standard
/// output. Levels are "INFO", "WARN" (something unusable was set aside, nothing lost that mattered)
/// and "ERR ", all four characters wide. Never fails towards the caller; the file
/// is started afresh once it grows past 1500000 bytes.
void write(const std::string& level, const std::string& message);

/// The line as written, for a given local time.
std::string formatLine(const CivilTime& localTime, const std::string& level, const std::string& message);

/// The clock for time stamps (the system clock unless a test sets another). Not owned.
void setClock(const Clock* clock);

/// Whether lines are mirrored to standard output (on by default).
void setEchoToStdout(bool echo);

constexpr long long maxLogBytes = 1500000;

} // namespace glimmer::AppLog
