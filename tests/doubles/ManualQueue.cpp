#include "doubles/ManualQueue.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace glimmer {

ManualQueue::ManualQueue(ManualClock& manualClock) : clock(manualClock) {
}

// Moves the clock in whole nanoseconds between the two queue times, so steps add up exactly.
void ManualQueue::moveTo(double time) {
    const auto step = std::llround(time * 1e9) - std::llround(now * 1e9);
    clock.set(clock.now() + std::chrono::duration_cast<Instant::duration>(std::chrono::nanoseconds(step)));
    now = time;
}

void ManualQueue::async(Task task) {
    tasks.push_back(std::move(task));
}

bool ManualQueue::sync(const Task& task) {
    runPending();
    if (task) task();
    return true;
}

DispatchQueue::TimerId ManualQueue::scheduleTimer(double firstDelay, double interval, double /*leeway*/, Task handler) {
    const TimerId id = nextTimerId++;
    timers[id] = Timer{now + std::max(firstDelay, 0.0), interval > 0 ? interval : 0, std::move(handler)};
    return id;
}

void ManualQueue::cancelTimer(TimerId id) {
    timers.erase(id);
}

int ManualQueue::runPending() {
    int count = 0;
    for (; !tasks.empty(); ++count) {
        Task task = std::move(tasks.front());
        tasks.pop_front();
        if (task) task();
    }
    return count;
}

int ManualQueue::advance(double seconds) {
    const double end = now + std::max(seconds, 0.0);
    int fires = 0;
    runPending();
    for (;;) {
        // The earliest deadline; the lower id first among equal ones.
        const auto due = std::min_element(timers.begin(), timers.end(), [](const auto& a, const auto& b) {
            return a.second.deadline < b.second.deadline;
        });
        if (due == timers.end() || due->second.deadline > end) break;
        const double deadline = due->second.deadline;
        moveTo(deadline);
        Task handler = due->second.handler;
        if (due->second.interval > 0) {
            due->second.deadline += due->second.interval;
        } else {
            timers.erase(due);
        }
        if (handler) handler();
        ++fires;
        runPending();
    }
    moveTo(end);
    return fires;
}

} // namespace glimmer
