#pragma once

#include "doubles/ManualClock.h"
#include "market/DispatchQueue.h"

#include <deque>
#include <map>

namespace glimmer {

/// A `DispatchQueue` for one thread that runs tasks and timers only when told to, in simulated time.
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
    /// Moves the clock forward, stopping at each timer deadline to fire it; returns the number of fires.
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
