#include "diagnostics/SelfTestReport.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace glimmer {

namespace SelfTestReport {

void line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string format(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, pattern, copy);
    va_end(copy);
    std::string text;
    if (size > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), pattern, args);
        text.assign(buffer.data(), static_cast<std::size_t>(size));
    }
    va_end(args);
    return text;
}

} // namespace SelfTestReport

bool CheckTally::check(bool ok, const std::string& name, const std::string& detail) {
    std::string text = std::string(ok ? "  PASS  " : "  FAIL  ") + name;
    if (!detail.empty()) text += "  " + detail;
    if (ok) {
        pass(text);
    } else {
        fail(text);
    }
    return ok;
}

void CheckTally::fail(const std::string& lineText) {
    ++failCount;
    SelfTestReport::line(lineText);
}

void CheckTally::pass(const std::string& lineText) {
    ++passCount;
    SelfTestReport::line(lineText);
}

void CheckTally::printCounted(const std::string& prefix) const {
    SelfTestReport::line("=== " + prefix + std::to_string(passCount) + " 通过 / " + std::to_string(failCount) +
                         " 失败 ===");
}

void CheckTally::printVerdict(const std::string& prefix) const {
    if (failCount == 0) {
        SelfTestReport::line("=== " + prefix + "全部通过 ===");
    } else {
        SelfTestReport::line("=== " + prefix + std::to_string(failCount) + " 项失败 ===");
    }
}

} // namespace glimmer
