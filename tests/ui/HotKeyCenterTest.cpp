#include "app/hotkeys/HotKeyCenter.h"
#include "app/hotkeys/AppHotKeys.h"
#include "app/hotkeys/HotKeyBackendNull.h"
#include "ui/TestApplication.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace glimmer {
namespace {

using Slot = HotKeyCenter::Slot;
using Keys = std::pair<std::uint32_t, std::uint32_t>;
using Lines = std::vector<std::string>;

/// Records what the centre asks of the window system; combinations in `taken` are refused.
class RecordingBackend : public HotKeyBackend {
public:
    bool grab(Id id, std::uint32_t keyCode, std::uint32_t modifiers) override {
        calls.push_back("grab " + std::to_string(id));
        if (taken.count({keyCode, modifiers}) > 0) return false;
        held[id] = {keyCode, modifiers};
        return true;
    }
    void release(Id id) override {
        calls.push_back("release " + std::to_string(id));
        held.erase(id);
    }
    void releaseAll() override {
        calls.push_back("releaseAll");
        held.clear();
    }
    /// With `deferred`, answers wait in `answers` as a desktop portal's do.
    void grabLater(Id id, std::uint32_t keyCode, std::uint32_t modifiers, std::function<void(bool)> settled) override {
        if (!deferred) return HotKeyBackend::grabLater(id, keyCode, modifiers, std::move(settled));
        answers.push_back([=, this](bool held) { settled(held && grab(id, keyCode, modifiers)); });
    }
    void press(Id id) { onTriggered(id); }

    bool deferred = false;
    std::vector<std::function<void(bool)>> answers;
    std::vector<std::string> calls;
    std::map<Id, Keys> held;
    std::set<Keys> taken;
};

class HotKeyCenterTest : public ::testing::Test {
protected:
    std::unique_ptr<RecordingBackend> owned = std::make_unique<RecordingBackend>();
    RecordingBackend* backend = owned.get();
    HotKeyCenter center{std::move(owned)};
    testing::LogTail log;
    int toggles = 0, expands = 0, overviews = 0, privacies = 0;
    AppHotKeyHandlers handlers{[this] { ++toggles; }, [this] { ++expands; }, [this] { ++overviews; },
                               [this] { ++privacies; }};
};

TEST_F(HotKeyCenterTest, ReRegisteringReleasesFirstAndARefusalLeavesTheSlotEmpty) {
    int first = 0, second = 0;
    center.registerKey(Slot::toggle, 3, 0x900, [&] { ++first; });
    EXPECT_TRUE(center.registerKey(Slot::toggle, 3, 0x1100, [&] { ++second; }));
    EXPECT_EQ(backend->calls, (std::vector<std::string>{"grab 1", "release 1", "grab 1"}));
    backend->press(1);
    EXPECT_EQ(first + 10 * second, 10);

    backend->taken.insert({3, 0x900});
    EXPECT_FALSE(center.registerKey(Slot::toggle, 3, 0x900, [&] { ++first; }));
    EXPECT_EQ(std::pair(center.isRegistered(Slot::toggle), backend->held.empty()), std::pair(false, true))
        << "the earlier grab is gone too";
    for (const HotKeyBackend::Id id : {1, 0, 9}) backend->press(id); // 0 and 9 are unknown ids, ignored
    EXPECT_EQ(first + 10 * second, 10);
}

TEST_F(HotKeyCenterTest, ARequestNotYetAnsweredIsWithdrawnAndItsLateAnswerIgnored) {
    backend->deferred = true;
    center.registerKey(Slot::expand, 14, 0x900, [] {});
    center.unregister(Slot::expand);
    EXPECT_EQ(backend->calls, std::vector<std::string>{"release 2"});
    center.registerKey(Slot::expand, 14, 0x1100, [] {});
    ASSERT_EQ(backend->answers.size(), 2u);
    backend->answers[0](true); // the withdrawn request
    EXPECT_FALSE(center.isRegistered(Slot::expand));
    backend->answers[1](true);
    EXPECT_TRUE(center.isRegistered(Slot::expand));
}

TEST_F(HotKeyCenterTest, UnregisteringOneSlotKeepsTheOthersAndUnregisterAllStopsListening) {
    registerAppHotKeys(center, HotKeySpec{}, handlers);
    center.unregister(Slot::toggle);
    EXPECT_EQ(std::pair(center.isRegistered(Slot::toggle), center.isRegistered(Slot::expand)), std::pair(false, true));
    EXPECT_EQ(backend->held, (std::map<HotKeyBackend::Id, Keys>{{2, {14, 0x900}}, {3, {5, 0x900}}}));
    for (const HotKeyBackend::Id id : {1, 2, 3}) backend->press(id);
    EXPECT_EQ(toggles + 10 * expands + 100 * overviews, 110);

    center.unregisterAll();
    EXPECT_EQ(std::pair(backend->held.size(), backend->calls.back()), std::pair(0ul, std::string("releaseAll")));
    backend->press(2);
    EXPECT_EQ(expands, 1);
}

TEST_F(HotKeyCenterTest, AppKeysLogEachOutcomeADisabledKeyIsDroppedSilentlyAndThePrivacyKeyWaitsToBeTurnedOn) {
    HotKeySpec hotkey; // stored as "⌥⌘F", logged as Linux names it
    backend->taken.insert({5, 0x900});
    registerAppHotKeys(center, hotkey, handlers);
    EXPECT_EQ(log.take(), (Lines{"INFO 全局快捷键 Ctrl+Alt+F 注册成功", "INFO 副图展开快捷键 Ctrl+Alt+E 注册成功",
                                 "INFO 全览快捷键 Ctrl+Alt+G 注册失败"}));
    EXPECT_EQ(backend->held.at(1), Keys(3, 0x900));
    EXPECT_FALSE(center.isRegistered(Slot::overview));

    backend->taken.clear();
    hotkey.enabled = false;
    registerAppHotKeys(center, hotkey, handlers);
    EXPECT_FALSE(center.isRegistered(Slot::toggle));
    EXPECT_EQ(log.take(), (Lines{"INFO 副图展开快捷键 Ctrl+Alt+E 注册成功", "INFO 全览快捷键 Ctrl+Alt+G 注册成功"}));
    backend->press(3);
    EXPECT_EQ(overviews, 1);

    HotKeySpec key = AppConfig{}.privacyHotkey;
    registerPrivacyHotKey(center, key, handlers.togglePrivacy);
    EXPECT_FALSE(center.isRegistered(Slot::privacy)) << "off by default";
    key.enabled = true;
    registerPrivacyHotKey(center, key, handlers.togglePrivacy);
    EXPECT_EQ(log.take(), Lines{"INFO 隐私模式快捷键 Ctrl+Alt+P 注册成功"});
    EXPECT_EQ(backend->held.at(4), Keys(35, 0x900));
    backend->press(4);
    EXPECT_EQ(privacies, 1);
    key.enabled = false;
    registerPrivacyHotKey(center, key, handlers.togglePrivacy);
    EXPECT_EQ(backend->held.count(4), 0u);

    HotKeyCenter nothing(std::make_unique<HotKeyBackendNull>());
    registerAppHotKeys(nothing, HotKeySpec{}, handlers);
    EXPECT_EQ(log.take(), (Lines{"INFO 全局快捷键 Ctrl+Alt+F 注册失败", "INFO 副图展开快捷键 Ctrl+Alt+E 注册失败",
                                 "INFO 全览快捷键 Ctrl+Alt+G 注册失败"}));
}

} // namespace
} // namespace glimmer
