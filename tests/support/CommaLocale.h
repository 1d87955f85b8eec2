#pragma once

#include "support/TempDir.h"

namespace glimmer::testing {

/// For one test, the C library's locale of this process is German, whose numbers use a decimal
/// comma. The locale is built with localedef into a private folder (LOCPATH), so the machine need
/// not have it installed; the "C" locale returns with the object.
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
    const std::filesystem::path& folder() const { return locales.path(); }

private:
    TempDir locales;
    bool active = false;
};

} // namespace glimmer::testing
