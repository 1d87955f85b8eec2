#pragma once

#include "doubles/ManualClock.h"
#include "market/DispatchQueue.h"

#include <deque>
#include <map>

namespace glimmer {

/// A `DispatchQueue` that runs nothing by itself: `runPending` runs the waiting tasks on the calling
/// thread and `advance` moves a `ManualClock` forward, firing each timer at its own instant. Lets the
/// store's timers and passes run in simulated time, deterministically. One thread only.
class ManualQueue final : public DispatchQueue {
public:
    explicit ManualQueue(ManualClock& clock);

    void async(Task task) override;
    /// Runs the waiting tasks first, as a serial queue would, then `task`.
    bool sync(const Task& task) override;
    TimerId scheduleTimer(double firstDelay, double interval, double leeway, Task handler) override;
    void cancelTimer(TimerId id) override;

    /// Runs tasks until none is waiting (including those the tasks enqueue); returns how many ran.
    int runPending();
    /// Moves the clock `seconds` forward in steps: at each timer deadline on the way the clock stands
    /// at that deadline, the timer fires and the waiting tasks run. Returns the number of fires.
    int advance(double seconds);

    std::size_t pendingCount() const { return tasks.size(); }
    std::size_t timerCount() const { return timers.size(); }

private:
    struct Timer {
        double deadline = 0;
        double interval = 0;
        Task handler;
    };
    void moveTo(double time);

    ManualClock& clock;
    double now = 0;
    std::deque<Task> tasks;
    std::map<TimerId, Timer> timers;
    TimerId nextTimerId = 1;
};

} // namespace glimmer
