#include "support/CommaLocale.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace glimmer::testing {

CommaLocale::CommaLocale() {
    const std::filesystem::path target = locales / name;
    // localedef may report warnings with a non-zero status and still write the locale.
    const std::string command = "localedef -i de_DE -f UTF-8 '" + target.string() + "' >/dev/null 2>&1";
    [[maybe_unused]] const int status = std::system(command.c_str());
    std::error_code error;
    if (!std::filesystem::exists(target / "LC_NUMERIC", error)) return;
    ::setenv("LOCPATH", locales.path().c_str(), 1);
    active = std::setlocale(LC_ALL, name) != nullptr;
}

CommaLocale::~CommaLocale() {
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
}

} // namespace glimmer::testing
