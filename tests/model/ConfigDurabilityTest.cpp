#include "model/AppPaths.h"
#include "model/ConfigJson.h"
#include "model/ConfigStore.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <random>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace glimmer {
namespace {

using testing::readFile;
using testing::TempDir;

/// Two configurations that differ everywhere a torn write could show: size, list contents, numbers.
AppConfig configuration(int variant) {
    AppConfig config{.width = variant == 0 ? 350 : 512.5,
                     .themeMode = variant == 0 ? ThemeMode::light : ThemeMode::dark,
                     .volumeViewAdded = true,
                     .didImportHoldings = true};
    if (variant == 1) config.hiddenCodes = {"510300", "159915"};
    for (int i = 0; i < (variant == 0 ? 40 : 25); ++i) {
        const std::string code = std::to_string(600000 + i);
        config.watchlist.push_back({code, (variant == 0 ? "贵州茅台" : "宁德时代") + std::to_string(i),
                                    i % 7 == 0 ? InstrumentKind::etf : InstrumentKind::stock});
    }
    return config;
}

/// The configuration config.json holds now, or nothing when it is missing, torn or undecodable.
std::optional<AppConfig> configOnDisk(const std::filesystem::path& file) {
    const auto tree = nlohmann::json::parse(readFile(file), nullptr, false);
    if (tree.is_discarded() || !tree.is_object()) return std::nullopt;
    return ConfigJson::decode(ConfigJson::merged(ConfigJson::encode(AppConfig{}), tree));
}

int leftoverTemporaryFiles(const std::filesystem::path& dir) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename().string() != "config.json") ++count;
    }
    return count;
}

TEST(ConfigDurability, KillingASaveAtAnyMomentLeavesTheOldOrTheNewFileAndNoDebris) {
    TempDir root;
    const std::filesystem::path dir = root / "Glimmerbox";
    AppPaths::overrideAppSupportDir(dir);
    const AppConfig configs[] = {configuration(0), configuration(1)};

    // Kill moments span a few saves of this machine and build (a sanitizer build is much slower).
    ASSERT_TRUE(ConfigStore::save(configs[1]));
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(ConfigStore::save(configs[0]));
    const auto oneSave =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - before);
    std::mt19937 random(20241108);
    std::uniform_int_distribution<long long> delayMicros(0, 2 * std::max<long long>(oneSave.count(), 1000));

    // Completed saves, counted by the children in memory the parent can read after each kill.
    auto* saves = static_cast<std::atomic<int>*>(
        ::mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(saves, MAP_FAILED);
    new (saves) std::atomic<int>(0);

    bool seen[2] = {false, false};
    int kills = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    for (; kills < 40 && std::chrono::steady_clock::now() < deadline; ++kills) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int n = kills;; ++n) {
                if (ConfigStore::save(configs[n % 2])) saves->fetch_add(1);
            }
        }
        // The kill falls within two saves after the child's first, so it strikes in the middle of saving.
        const int savedBefore = saves->load();
        const auto startLimit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (saves->load() == savedBefore && std::chrono::steady_clock::now() < startLimit) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const auto onDisk = configOnDisk(dir / "config.json");
        ASSERT_TRUE(onDisk == configs[0] || onDisk == configs[1]) << "config.json is torn after kill " << kills;
        seen[onDisk == configs[0] ? 0 : 1] = true;
        ASSERT_LE(leftoverTemporaryFiles(dir), 1) << "temporary files pile up after kill " << kills;
    }
    const int completed = saves->load();
    ::munmap(saves, sizeof(std::atomic<int>));
    EXPECT_TRUE(seen[0] && seen[1]);
    EXPECT_GE(completed, kills);

    ASSERT_TRUE(ConfigStore::save(configs[1]));
    EXPECT_EQ(leftoverTemporaryFiles(dir), 0);
    EXPECT_EQ(configOnDisk(dir / "config.json"), configs[1]);
}

} // namespace
} // namespace glimmer
