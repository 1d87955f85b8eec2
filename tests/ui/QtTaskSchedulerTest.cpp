#include "app/QtTaskScheduler.h"
#include "ui/TestApplication.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

TEST(QtTaskScheduler, OneShotsRunOnceRepeatsUntilCancelledAndCancelledTasksNever) {
    testing::ensureApplication();
    QtTaskScheduler scheduler;
    int once = 0, ticks = 0, nested = 0;
    bool cancelledRan = false;
    scheduler.schedule(0.01, [&] {
        ++once;
        scheduler.schedule(0.005, [&] { ++nested; }); // scheduled from inside a run
    });
    const TaskScheduler::TaskId self = scheduler.scheduleRepeating(0.005, [&] {
        if (++ticks == 3) scheduler.cancel(self); // a repeating task may cancel itself
    });
    scheduler.cancel(scheduler.schedule(0.01, [&] { cancelledRan = true; }));
    scheduler.cancel(9999); // unknown ids are ignored
    ASSERT_TRUE(testing::waitUntil([&] { return ticks >= 3 && nested == 1; }));
    testing::waitUntil([] { return false; }, 60);
    EXPECT_EQ(std::tuple(once, ticks, nested, cancelledRan, scheduler.pendingCount()), std::tuple(1, 3, 1, false, 0u))
        << "finished tasks are forgotten";
}

} // namespace
} // namespace glimmer
