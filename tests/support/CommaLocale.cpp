#include "support/CommaLocale.h"

#include "support/TempDir.h"

#include <clocale>
#include <cstdlib>
#include <unistd.h>
#include <string>

namespace glimmer::testing {

CommaLocale::CommaLocale() : locales(GLIMMER_TEST_LOCALE_DIR) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target = locales / name;
    // Built once and kept (localedef takes seconds); a process losing the race uses the other's.
    if (!fs::exists(target / "LC_NUMERIC", error)) {
        TempDir scratch;
        const fs::path built = scratch.path() / name;
        // localedef may report warnings with a non-zero status and still write the locale.
        const std::string command = "localedef -i de_DE -f UTF-8 '" + built.string() + "' >/dev/null 2>&1";
        [[maybe_unused]] const int status = std::system(command.c_str());
        fs::create_directories(locales, error);
        const fs::path staged = locales / (std::string(name) + "." + std::to_string(::getpid()));
        fs::copy(built, staged, fs::copy_options::recursive, error);
        fs::rename(staged, target, error);
        fs::remove_all(staged, error);
    }
    if (!fs::exists(target / "LC_NUMERIC", error)) return;
    ::setenv("LOCPATH", locales.c_str(), 1);
    active = std::setlocale(LC_ALL, name) != nullptr;
}

CommaLocale::~CommaLocale() {
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
}

} // namespace glimmer::testing
