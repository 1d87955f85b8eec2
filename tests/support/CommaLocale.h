#pragma once

#include <filesystem>

namespace glimmer::testing {

/// For one test, a German C locale (decimal comma), built once with localedef into the build tree.
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool isActive() const { return active; }
    static constexpr const char* name = "de_DE.UTF-8";

private:
    std::filesystem::path locales;
    bool active = false;
};

} // namespace glimmer::testing
