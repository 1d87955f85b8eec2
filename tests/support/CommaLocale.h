#pragma once

#include <filesystem>

namespace glimmer::testing {

/// For one test, the C library's locale of this process is German, whose numbers use a decimal
/// comma. The locale is built once with localedef into the build tree (LOCPATH), so the machine
/// need not have it installed; the "C" locale returns with the object.
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    /// Whether the locale is in force (localedef and the locale sources were found).
    bool isActive() const { return active; }
    static constexpr const char* name = "de_DE.UTF-8";

private:
    std::filesystem::path locales;
    bool active = false;
};

} // namespace glimmer::testing
