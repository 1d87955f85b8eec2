#include "doubles/ManualQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace glimmer {
namespace {

const Instant start = Clock::instantAtOffset(CivilTime{2024, 3, 12, 10, 0, 0, 2}, 8 * 3600);

TEST(ManualQueue, TimersFireAtTheirOwnInstantsOnTheClock) {
    ManualClock clock(start);
    ManualQueue queue(clock);
    std::vector<double> fast, slow;
    queue.scheduleTimer(0.2, 30, 0.2, [&] { fast.push_back(secondsBetween(start, clock.now())); });
    queue.scheduleTimer(300, 300, 0, [&] { slow.push_back(secondsBetween(start, clock.now())); });

    EXPECT_EQ(queue.advance(0.1), 0);
    EXPECT_EQ(queue.advance(600 - 0.1), 22); // 0.2, 30.2 ... 570.2 and 300, 600
    EXPECT_EQ(fast.size(), 20u);
    EXPECT_NEAR(fast.front(), 0.2, 1e-6);
    EXPECT_NEAR(fast.back(), 570.2, 1e-6);
    EXPECT_EQ(slow, (std::vector<double>{300, 600}));
    EXPECT_NEAR(secondsBetween(start, clock.now()), 600, 1e-6);
}

TEST(ManualQueue, TasksEnqueuedByAFireRunBeforeTheNextFire) {
    ManualClock clock(start);
    ManualQueue queue(clock);
    std::vector<std::string> log;
    queue.scheduleTimer(1, 1, 0, [&] {
        log.push_back("fire");
        queue.async([&] { log.push_back("task"); });
    });
    queue.advance(2);
    EXPECT_EQ(log, (std::vector<std::string>{"fire", "task", "fire", "task"}));
}

TEST(ManualQueue, CancelledAndRescheduledTimersFollowTheLatestSchedule) {
    ManualClock clock(start);
    ManualQueue queue(clock);
    int oneShot = 0, first = 0, second = 0;
    queue.scheduleTimer(5, 0, 0, [&] { ++oneShot; });
    auto id = queue.scheduleTimer(1, 1, 0, [&] { ++first; });
    queue.advance(3);
    queue.cancelTimer(id);
    id = queue.scheduleTimer(10, 10, 0, [&] { ++second; });
    queue.advance(30);
    EXPECT_EQ(oneShot, 1);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 3);
    EXPECT_EQ(queue.timerCount(), 1u);
}

TEST(ManualQueue, SyncRunsEarlierTasksFirst) {
    ManualClock clock(start);
    ManualQueue queue(clock);
    std::vector<int> order;
    queue.async([&] { order.push_back(1); });
    queue.async([&] { order.push_back(2); });
    EXPECT_TRUE(queue.sync([&] { order.push_back(3); }));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(queue.pendingCount(), 0u);
}

} // namespace
} // namespace glimmer
