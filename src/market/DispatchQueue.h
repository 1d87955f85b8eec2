#pragma once

#include <cstdint>
#include <functional>

namespace glimmer {

/// A serial queue of tasks with repeating timers that fire on it. The market store does all its work
/// through one; the threaded `SerialQueue` runs in production, `ManualQueue` steps by hand in tests.
class DispatchQueue {
public:
    using Task = std::function<void()>;
    using TimerId = std::uint64_t;

    virtual ~DispatchQueue() = default;

    /// Runs `task` on the queue after everything enqueued before it.
    virtual void async(Task task) = 0;
    /// Runs `task` on the queue and waits for it. Called on the queue itself it runs at once (waiting
    /// would deadlock). False when the queue has shut down and the task did not run.
    virtual bool sync(const Task& task) = 0;
    /// A timer that fires `handler` on the queue `firstDelay` seconds from now and then every
    /// `interval` seconds (once only for an interval of 0 or less); a fire may come up to `leeway`
    /// seconds late. Fires missed while the queue was busy are merged into one.
    virtual TimerId scheduleTimer(double firstDelay, double interval, double leeway, Task handler) = 0;
    /// No fire starts after this returns; one that is running finishes. Unknown ids are ignored.
    virtual void cancelTimer(TimerId id) = 0;
};

} // namespace glimmer
