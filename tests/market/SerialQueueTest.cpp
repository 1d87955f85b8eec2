#include "market/SerialQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <ranges>
#include <set>
#include <thread>

namespace glimmer {
namespace {

using namespace std::chrono_literals;

TEST(SerialQueue, RunsTasksInOrderOnOneWorkerThreadNestedSyncAtOnceAndPastAThrowingTask) {
    SerialQueue queue("glimmerbox.test");
    std::vector<int> order;
    std::set<std::thread::id> threads;
    for (int i = 0; i < 50; ++i) {
        queue.async([&, i] {
            order.push_back(i);
            threads.insert(std::this_thread::get_id());
        });
    }
    bool onQueue = false;
    ASSERT_TRUE(queue.sync([&] { onQueue = queue.isCurrent(); }));
    EXPECT_TRUE(onQueue && !queue.isCurrent());
    EXPECT_TRUE(std::ranges::equal(order, std::views::iota(0, 50)));
    EXPECT_EQ(threads.size(), 1u);
    EXPECT_FALSE(threads.count(std::this_thread::get_id()));

    // A sync from inside a task runs at once instead of deadlocking.
    std::vector<std::string> steps;
    queue.sync([&] {
        steps.push_back("outer");
        queue.sync([&] { steps.push_back("inner"); });
        steps.push_back("after");
    });
    EXPECT_EQ(steps, (std::vector<std::string>{"outer", "inner", "after"}));
    queue.async([] { throw std::runtime_error("provider went away"); });
    EXPECT_THROW(queue.sync([] { throw std::runtime_error("reported to the waiting caller"); }), std::runtime_error);
    bool ran = false;
    EXPECT_TRUE(queue.sync([&] { ran = true; }) && ran);
}

TEST(SerialQueue, RepeatingTimerFiresOnTheQueueUntilCancelled) {
    SerialQueue queue("glimmerbox.test");
    std::atomic<int> fires{0};
    std::atomic<bool> onQueue{true};
    std::promise<void> third;
    const auto id = queue.scheduleTimer(0.001, 0.002, 0, [&] {
        if (!queue.isCurrent()) onQueue = false;
        if (++fires == 3) third.set_value();
    });
    ASSERT_EQ(third.get_future().wait_for(5s), std::future_status::ready);
    queue.cancelTimer(id);
    const int afterCancel = queue.sync([] {}) ? fires.load() : -1;
    std::this_thread::sleep_for(20ms); // would hold several more fires
    queue.sync([] {});
    EXPECT_EQ(fires.load(), afterCancel) << "no fire starts after cancelTimer returns";
    EXPECT_TRUE(onQueue);
}

TEST(SerialQueue, OneShotTimerFiresOnceAndWaitsForItsDelay) {
    SerialQueue queue("glimmerbox.test");
    std::atomic<int> fires{0};
    std::promise<void> fired;
    std::atomic<bool> laterFirst{false};
    const auto start = std::chrono::steady_clock::now();
    queue.scheduleTimer(0.5, 0, 0, [&] { laterFirst = fires == 0; });
    queue.scheduleTimer(0.03, 0, 0, [&] {
        ++fires;
        fired.set_value();
    });
    ASSERT_EQ(fired.get_future().wait_for(5s), std::future_status::ready);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms) << "never early";
    EXPECT_FALSE(laterFirst) << "the timer scheduled first but due later waits its turn";
    std::this_thread::sleep_for(10ms);
    queue.sync([] {});
    EXPECT_EQ(fires.load(), 1);
}

TEST(SerialQueue, ShutdownDropsWaitingTasksAndRefusesNewOnesAndAQueueMayBeDestroyedFromItsOwnTask) {
    std::atomic<int> ran{0};
    std::promise<void> release, started;
    auto gate = release.get_future().share();
    auto queue = std::make_unique<SerialQueue>("glimmerbox.test");
    queue->async([&, gate] {
        started.set_value();
        gate.wait();
        ++ran;
    });
    for (int i = 0; i < 5; ++i) queue->async([&] { ++ran; });
    queue->scheduleTimer(0, 0.001, 0, [&] { ++ran; });
    started.get_future().wait();
    std::thread releaser([&] {
        std::this_thread::sleep_for(10ms);
        release.set_value();
    });
    queue->shutdown();
    releaser.join();
    EXPECT_EQ(ran.load(), 1) << "the running task finishes, the waiting ones and the timer are dropped";
    EXPECT_FALSE(queue->sync([&] { ++ran; }));
    queue->async([&] { ++ran; });
    EXPECT_EQ(queue->scheduleTimer(0, 1, 0, [] {}), 0u);
    queue.reset();
    EXPECT_EQ(ran.load(), 1);

    auto holder = std::make_shared<std::unique_ptr<SerialQueue>>(std::make_unique<SerialQueue>("glimmerbox.test"));
    std::promise<void> enqueued, done;
    auto ready = enqueued.get_future().share();
    (*holder)->async([holder, ready, &done] {
        ready.wait(); // the caller has left async()
        holder->reset();
        done.set_value();
    });
    enqueued.set_value();
    EXPECT_EQ(done.get_future().wait_for(5s), std::future_status::ready);
}

} // namespace
} // namespace glimmer
