#include "app/hotkeys/HotKeyCenter.h"
#include "app/hotkeys/HotKeyBackendNull.h"

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
