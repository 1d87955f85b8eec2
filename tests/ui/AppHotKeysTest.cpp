#include "app/hotkeys/AppHotKeys.h"
#include "app/hotkeys/HotKeyBackendNull.h"
#include "model/AppPaths.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace glimmer {
namespace {

using Slot = HotKeyCenter::Slot;

/// Grants every combination except those already held by "another program".
class SharedDesktopBackend : public HotKeyBackend {
public:
    bool grab(Id id, std::uint32_t keyCode, std::uint32_t modifiers) override {
        if (takenElsewhere.count({keyCode, modifiers}) > 0) return false;
        held[id] = {keyCode, modifiers};
        return true;
    }
    void release(Id id) override { held.erase(id); }
    void releaseAll() override { held.clear(); }

    std::map<Id, std::pair<std::uint32_t, std::uint32_t>> held;
    std::set<std::pair<std::uint32_t, std::uint32_t>> takenElsewhere;
};

class AppHotKeysTest : public ::testing::Test {
protected:
    AppHotKeysTest() {
        auto owned = std::make_unique<SharedDesktopBackend>();
        backend = owned.get();
        center = std::make_unique<HotKeyCenter>(std::move(owned));
        logStart = logText().size();
    }

    static std::string logText() {
        return std::filesystem::exists(AppPaths::logFile()) ? testing::readFile(AppPaths::logFile()) : std::string();
    }
    std::string newLog() const { return logText().substr(logStart); }

    SharedDesktopBackend* backend;
    std::unique_ptr<HotKeyCenter> center;
    std::size_t logStart = 0;
    AppHotKeyHandlers handlers{[] {}, [] {}, [] {}, [] {}};
};

// Log lines without their time stamps.
std::string messages(const std::string& log) {
    std::string out;
    std::size_t start = 0;
    while (start < log.size()) {
        const std::size_t end = log.find('\n', start);
        const std::string line = log.substr(start, end - start);
        out += line.substr(std::min(line.size(), line.find("] ") + 2)) + "\n";
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

TEST_F(AppHotKeysTest, RegistersTheThreeKeysAndLogsEachOutcome) {
    HotKeySpec hotkey; // stored as "⌥⌘F", logged as Linux names it
    backend->takenElsewhere.insert({5, 0x900});
    registerAppHotKeys(*center, hotkey, handlers);

    EXPECT_EQ(messages(newLog()), "INFO 全局快捷键 Ctrl+Alt+F 注册成功\n"
                                  "INFO 副图展开快捷键 Ctrl+Alt+E 注册成功\n"
                                  "INFO 全览快捷键 Ctrl+Alt+G 注册失败\n");
    EXPECT_EQ(backend->held.at(1), std::make_pair(3u, 0x900u));
    EXPECT_EQ(backend->held.at(2), std::make_pair(14u, 0x900u));
    EXPECT_FALSE(center->isRegistered(Slot::overview));
}

TEST_F(AppHotKeysTest, DisablingTheUserKeyDropsOnlyTheToggleSilently) {
    HotKeySpec hotkey;
    hotkey.keyCode = 49;
    hotkey.modifiers = 0x1100;
    hotkey.displayName = "⌘⌃Space";
    registerAppHotKeys(*center, hotkey, handlers);
    ASSERT_TRUE(center->isRegistered(Slot::toggle));

    hotkey.enabled = false;
    logStart = logText().size();
    registerAppHotKeys(*center, hotkey, handlers);
    EXPECT_FALSE(center->isRegistered(Slot::toggle));
    EXPECT_TRUE(center->isRegistered(Slot::expand));
    EXPECT_TRUE(center->isRegistered(Slot::overview));
    EXPECT_EQ(messages(newLog()), "INFO 副图展开快捷键 Ctrl+Alt+E 注册成功\n"
                                  "INFO 全览快捷键 Ctrl+Alt+G 注册成功\n");
}

TEST_F(AppHotKeysTest, ThePrivacyKeyIsGrabbedOnlyOnceTheUserTurnsItOn) {
    int presses = 0;
    const AppConfig defaults;
    registerPrivacyHotKey(*center, defaults.privacyHotkey, [&] { ++presses; });
    EXPECT_FALSE(center->isRegistered(Slot::privacy)) << "off by default";
    EXPECT_EQ(newLog(), "");

    HotKeySpec on = defaults.privacyHotkey;
    on.enabled = true;
    registerPrivacyHotKey(*center, on, [&] { ++presses; });
    EXPECT_EQ(messages(newLog()), "INFO 隐私模式快捷键 Ctrl+Alt+P 注册成功\n");
    EXPECT_EQ(backend->held.at(4), std::make_pair(35u, 0x900u));
    backend->onTriggered(4);
    EXPECT_EQ(presses, 1);

    registerPrivacyHotKey(*center, defaults.privacyHotkey, [&] { ++presses; });
    EXPECT_FALSE(center->isRegistered(Slot::privacy));
    EXPECT_EQ(backend->held.count(4), 0u);
}

TEST_F(AppHotKeysTest, WithoutAShortcutFacilityEveryLineEndsInFailure) {
    HotKeyCenter nothing(std::make_unique<HotKeyBackendNull>());
    registerAppHotKeys(nothing, HotKeySpec{}, handlers);
    EXPECT_EQ(messages(newLog()), "INFO 全局快捷键 Ctrl+Alt+F 注册失败\n"
                                  "INFO 副图展开快捷键 Ctrl+Alt+E 注册失败\n"
                                  "INFO 全览快捷键 Ctrl+Alt+G 注册失败\n");
}

} // namespace
} // namespace glimmer
