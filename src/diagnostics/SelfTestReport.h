#pragma once

#include <string>

namespace glimmer::SelfTestReport {

/// One line to standard output, flushed at once so the report interleaves with Qt's own messages.
void line(const std::string& text);
/// printf-style formatting into a string.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

} // namespace glimmer::SelfTestReport

namespace glimmer {

/// Pass and fail counts of one diagnostic mode; every check prints its own line.
class CheckTally {
public:
    /// "  PASS  name" or "  FAIL  name", with "  detail" appended when given.
    bool check(bool ok, const std::string& name, const std::string& detail = {});
    /// A failure line of its own shape (the rotation checks print what they expected).
    void fail(const std::string& lineText);
    void pass(const std::string& lineText);

    int passed() const { return passCount; }
    int failed() const { return failCount; }
    /// "=== <prefix>" p " 通过 / " f " 失败 ===".
    void printCounted(const std::string& prefix) const;
    /// "=== <prefix>全部通过 ===" or "=== <prefix>" f " 项失败 ===".
    void printVerdict(const std::string& prefix) const;

private:
    int passCount = 0;
    int failCount = 0;
};

} // namespace glimmer
