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
    /// The name to put in LC_ALL of a child process, with LOCPATH set to `folder()`.
    static constexpr const char* name = "de_DE.UTF-8";
    const std::filesystem::path& folder() const { return locales; }

private:
    std::filesystem::path locales;
    bool active = false;
};

} // namespace glimmer::testing
