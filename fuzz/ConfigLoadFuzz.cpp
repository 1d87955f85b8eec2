#include "FuzzSupport.h"
#include "model/AppLog.h"
#include "model/AppPaths.h"
#include "model/ConfigJson.h"
#include "model/ConfigStore.h"

#include <nlohmann/json.hpp>

using namespace glimmer;

namespace {

std::filesystem::path appDir() {
    return fuzz::scratchDir() / "Glimmerbox";
}

/// What load() promises for these bytes: a JSON object that decodes is the user's configuration.
std::optional<AppConfig> decodedConfig(std::string_view bytes) {
    const auto tree = nlohmann::json::parse(bytes, nullptr, false);
    if (tree.is_discarded() || !tree.is_object()) return std::nullopt;
    return ConfigJson::decode(ConfigJson::merged(ConfigJson::encode(AppConfig{}), tree));
}

bool folderKeeps(std::string_view bytes) {
    for (const auto& entry : std::filesystem::directory_iterator(appDir())) {
        const std::string name = entry.path().filename().string();
        const bool isConfig = name == "config.json" || name.rfind("config.json.broken-", 0) == 0;
        if (isConfig && fuzz::readBytes(entry.path()) == bytes) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Nothing of the run may touch the real home folder (the holdings import reads from it).
    const auto home = fuzz::scratchDir() / "home";
    std::filesystem::create_directories(home);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home / ".local" / "share").c_str(), 1);
    AppPaths::overrideAppSupportDir(appDir());
    AppLog::setEchoToStdout(false);
    return 0;
}

void glimmer::fuzz::check(std::string_view text) {
    const std::string_view bytes = text;
    std::error_code ignored;
    std::filesystem::remove_all(appDir(), ignored);
    std::filesystem::create_directories(appDir());
    fuzz::writeBytes(appDir() / "config.json", bytes);

    const AppConfig loaded = ConfigStore::load();

    if (const auto decoded = decodedConfig(bytes)) {
        // A readable configuration may be rewritten by a migration, but only into one that loads
        // back as what the program now runs with.
        if (!folderKeeps(bytes)) {
            fuzz::expect(decodedConfig(fuzz::readBytes(appDir() / "config.json")) == loaded,
                         "a migrated configuration is saved as loaded");
        }
        fuzz::expect(ConfigStore::load() == loaded, "a readable configuration loads the same twice");
    } else {
        fuzz::expect(folderKeeps(bytes), "an unreadable configuration is kept, never destroyed");
        fuzz::expect(ConfigStore::load() == ConfigStore::load(), "the replacement configuration is stable");
    }
}
