#include "app/hotkeys/HotKeyCenter.h"
#include "app/hotkeys/HotKeyBackendNull.h"
#include "app/hotkeys/HotKeyKeys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace glimmer {
namespace {

using Slot = HotKeyCenter::Slot;

/// Records what the centre asks of the window system; combinations in `taken` are refused.
class RecordingBackend : public HotKeyBackend {
public:
    bool grab(Id id, std::uint32_t keyCode, std::uint32_t modifiers) override {
        calls.push_back("grab " + std::to_string(id));
        if (taken.count({keyCode, modifiers}) > 0) return false;
        held.insert(id);
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
    void press(Id id) {
        if (onTriggered) onTriggered(id);
    }

    std::vector<std::string> calls;
    std::set<Id> held;
    std::set<std::pair<std::uint32_t, std::uint32_t>> taken;
};

class HotKeyCenterTest : public ::testing::Test {
protected:
    HotKeyCenterTest() {
        auto owned = std::make_unique<RecordingBackend>();
        backend = owned.get();
        center = std::make_unique<HotKeyCenter>(std::move(owned));
    }

    RecordingBackend* backend;
    std::unique_ptr<HotKeyCenter> center;
};

TEST(HotKeyDisplayName, PutsCommandBeforeOptionControlAndShift) {
    EXPECT_EQ(HotKeyCenter::displayName(14, 0x900), "⌘⌥E");
    EXPECT_EQ(HotKeyCenter::displayName(49, 0x1100), "⌘⌃Space");
    EXPECT_EQ(HotKeyCenter::displayName(3, 0x1b00), "⌘⌥⌃⇧F");
    EXPECT_EQ(HotKeyCenter::displayName(36, 0x200), "⇧↩");
    EXPECT_EQ(HotKeyCenter::displayName(29, 0), "0");
}

TEST(HotKeyDisplayName, KeyOutsideTheTableReadsAsItsDecimalCode) {
    EXPECT_EQ(HotKeyCenter::displayName(105, 0x100), "⌘键105");
    // 10 sits between table entries (the ISO section key) and has no name.
    EXPECT_EQ(HotKeyCenter::displayName(10, 0), "键10");
    EXPECT_EQ(HotKeyCenter::displayName(4294967295u, 0), "键4294967295");
}

TEST(HotKeyKeyTable, HoldsFiftyOneKeysEachWithItsOwnCodeAndKeySym) {
    const auto keys = HotKeyKeys::table();
    ASSERT_EQ(keys.size(), 51u);
    std::set<std::uint32_t> codes, keySyms;
    for (const auto& key : keys) {
        codes.insert(key.keyCode);
        keySyms.insert(key.keySym);
        EXPECT_EQ(HotKeyKeys::find(key.keyCode), &key);
    }
    EXPECT_EQ(codes.size(), 51u);
    EXPECT_EQ(keySyms.size(), 51u);
    // Digits follow the ANSI layout, not numeric order.
    EXPECT_EQ(HotKeyKeys::find(22)->keySym, std::uint32_t('6'));
    EXPECT_EQ(HotKeyKeys::find(23)->keySym, std::uint32_t('5'));
    EXPECT_EQ(HotKeyKeys::find(53)->keySym, 0xff1bu); // Escape
    EXPECT_EQ(HotKeyKeys::find(10), nullptr);
}

TEST(HotKeyKeyTable, ModifiersMapLikeQtOnLinux) {
    constexpr std::uint16_t shift = 0x01, control = 0x04, alt = 0x08, super = 0x40;
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x100), control);
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x800), alt);
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x1000), super);
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x200), shift);
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x900), control | alt);
    // Carbon's other bits (caps lock 0x400, the right-hand variants) are not part of a combination.
    EXPECT_EQ(HotKeyKeys::x11Modifiers(0x400 | 0x2000 | 0x4000), 0);
}

TEST_F(HotKeyCenterTest, SlotsRegisterUnderIdsOneTwoThree) {
    EXPECT_TRUE(center->registerKey(Slot::toggle, 3, 0x900, [] {}));
    EXPECT_TRUE(center->registerKey(Slot::expand, 14, 0x900, [] {}));
    EXPECT_TRUE(center->registerKey(Slot::overview, 5, 0x900, [] {}));
    EXPECT_EQ(backend->held, (std::set<HotKeyBackend::Id>{1, 2, 3}));
}

TEST_F(HotKeyCenterTest, RegisteringASlotAgainReleasesTheFirstBeforeGrabbingTheSecond) {
    int first = 0, second = 0;
    center->registerKey(Slot::toggle, 3, 0x900, [&] { ++first; });
    center->registerKey(Slot::toggle, 3, 0x1100, [&] { ++second; });
    EXPECT_EQ(backend->calls, (std::vector<std::string>{"grab 1", "release 1", "grab 1"}));
    backend->press(1);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

TEST_F(HotKeyCenterTest, RefusedCombinationLeavesTheSlotWithoutHandler) {
    int calls = 0;
    ASSERT_TRUE(center->registerKey(Slot::toggle, 3, 0x900, [&] { ++calls; }));
    backend->taken.insert({3, 0x1100});
    EXPECT_FALSE(center->registerKey(Slot::toggle, 3, 0x1100, [&] { ++calls; }));
    EXPECT_FALSE(center->isRegistered(Slot::toggle));
    // A failed re-registration also lost the earlier one: the slot is simply unregistered.
    EXPECT_TRUE(backend->held.empty());
    backend->press(1);
    EXPECT_EQ(calls, 0);
    // Unregistering a slot that holds nothing asks nothing of the window system.
    backend->calls.clear();
    center->unregister(Slot::toggle);
    EXPECT_TRUE(backend->calls.empty());
}

TEST_F(HotKeyCenterTest, UnregisteringTheToggleKeepsExpandAndOverview) {
    int expands = 0;
    center->registerKey(Slot::toggle, 3, 0x900, [] {});
    center->registerKey(Slot::expand, 14, 0x900, [&] { ++expands; });
    center->registerKey(Slot::overview, 5, 0x900, [] {});
    center->unregister(Slot::toggle);
    EXPECT_FALSE(center->isRegistered(Slot::toggle));
    EXPECT_TRUE(center->isRegistered(Slot::expand));
    EXPECT_TRUE(center->isRegistered(Slot::overview));
    EXPECT_EQ(backend->held, (std::set<HotKeyBackend::Id>{2, 3}));
    backend->press(2);
    EXPECT_EQ(expands, 1);
}

TEST_F(HotKeyCenterTest, UnregisterAllReleasesEverySlotAndStopsListening) {
    int calls = 0;
    center->registerKey(Slot::toggle, 3, 0x900, [&] { ++calls; });
    center->registerKey(Slot::overview, 5, 0x900, [&] { ++calls; });
    center->unregisterAll();
    EXPECT_TRUE(backend->held.empty());
    EXPECT_EQ(backend->calls.back(), "releaseAll");
    backend->press(1);
    backend->press(3);
    EXPECT_EQ(calls, 0);
}

TEST_F(HotKeyCenterTest, HandlerMayReplaceItsOwnSlotWhileRunning) {
    int calls = 0;
    center->registerKey(Slot::toggle, 3, 0x900, [&] {
        ++calls;
        center->registerKey(Slot::toggle, 3, 0x900, [&] { calls += 10; });
    });
    backend->press(1);
    backend->press(1);
    EXPECT_EQ(calls, 11);
}

TEST_F(HotKeyCenterTest, UnknownIdsFromTheBackendAreIgnored) {
    int calls = 0;
    center->registerKey(Slot::toggle, 3, 0x900, [&] { ++calls; });
    backend->press(0);
    backend->press(4);
    EXPECT_EQ(calls, 0);
}

TEST(HotKeyBackendNull, RegistersNothingSoTheCentreReportsFailure) {
    HotKeyCenter center(std::make_unique<HotKeyBackendNull>());
    EXPECT_FALSE(center.registerKey(Slot::toggle, 3, 0x900, [] {}));
    EXPECT_FALSE(center.isRegistered(Slot::toggle));
    center.unregisterAll();
}

} // namespace
} // namespace glimmer
