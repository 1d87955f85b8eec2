#pragma once

#include <cstdint>
#include <functional>

namespace glimmer {

/// Delayed and repeating tasks on the main thread: the rotation and blink timers and the debounced
/// saves. Production runs them on Qt timers; tests step a manual scheduler instead of sleeping.
class TaskScheduler {
public:
    using TaskId = std::uint64_t;

    virtual ~TaskScheduler() = default;

    /// Runs `task` once, `delaySeconds` from now.
    virtual TaskId schedule(double delaySeconds, std::function<void()> task) = 0;
    /// Runs `task` every `intervalSeconds`, the first time one interval from now.
    virtual TaskId scheduleRepeating(double intervalSeconds, std::function<void()> task) = 0;
    /// Nothing runs for `id` after this; unknown ids are ignored. A task may cancel itself.
    virtual void cancel(TaskId id) = 0;
    /// Seconds on the scheduler's own clock (monotonic).
    virtual double now() const = 0;

    /// The scheduler of the running application (Qt timers on the main thread).
    static TaskScheduler& main();
};

} // namespace glimmer
