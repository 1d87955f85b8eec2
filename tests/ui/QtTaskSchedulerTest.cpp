#include "app/QtTaskScheduler.h"
#include "ui/TestApplication.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

TEST(QtTaskScheduler, OneShotRunsOnceAndIsForgotten) {
    testing::ensureApplication();
    QtTaskScheduler scheduler;
    int runs = 0;
    scheduler.schedule(0.01, [&] { ++runs; });
    EXPECT_EQ(scheduler.pendingCount(), 1u);
    ASSERT_TRUE(testing::waitUntil([&] { return runs == 1; }));
    testing::waitUntil([] { return false; }, 50);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST(QtTaskScheduler, ARepeatingTaskMayCancelItselfAndACancelledTaskNeverRuns) {
    testing::ensureApplication();
    QtTaskScheduler scheduler;
    int ticks = 0;
    TaskScheduler::TaskId self = 0;
    self = scheduler.scheduleRepeating(0.005, [&] {
        if (++ticks == 3) scheduler.cancel(self);
    });
    bool cancelledRan = false;
    const TaskScheduler::TaskId doomed = scheduler.schedule(0.01, [&] { cancelledRan = true; });
    scheduler.cancel(doomed);
    scheduler.cancel(9999); // unknown ids are ignored
    ASSERT_TRUE(testing::waitUntil([&] { return ticks >= 3; }));
    testing::waitUntil([] { return false; }, 60);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(cancelledRan);
}

TEST(QtTaskScheduler, ATaskMayScheduleAnotherFromInsideItsRun) {
    testing::ensureApplication();
    QtTaskScheduler scheduler;
    int second = 0;
    scheduler.schedule(0, [&] { scheduler.schedule(0.005, [&] { ++second; }); });
    EXPECT_TRUE(testing::waitUntil([&] { return second == 1; }));
}

} // namespace
} // namespace glimmer
