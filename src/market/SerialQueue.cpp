#include "market/SerialQueue.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <future>
#include <map>
#include <mutex>
#include <thread>

namespace glimmer {

namespace {

using SteadyTime = std::chrono::steady_clock::time_point;

std::chrono::steady_clock::duration toDuration(double seconds) {
    if (!(seconds > 0)) return {};
    // Keep absurd values from overflowing the clock's representation (a century is plenty).
    const double capped = std::min(seconds, 3.2e9);
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(capped));
}

struct Timer {
    SteadyTime deadline;
    std::chrono::steady_clock::duration interval;
    DispatchQueue::Task handler;
};

} // namespace

// Shared with the worker so that a queue torn down from its own worker can detach safely.
struct SerialQueue::State {
    std::mutex lock;
    std::condition_variable wake;
    std::deque<Task> tasks;
    std::map<TimerId, Timer> timers;
    TimerId nextTimerId = 1;
    bool isStopping = false;
    std::thread worker;
    std::thread::id workerId;

    void run() {
        std::unique_lock guard(lock);
        while (!isStopping) {
            if (!tasks.empty()) {
                Task task = std::move(tasks.front());
                tasks.pop_front();
                guard.unlock();
                runGuarded(task);
                guard.lock();
                continue;
            }
            auto due = timers.end();
            for (auto it = timers.begin(); it != timers.end(); ++it) {
                if (due == timers.end() || it->second.deadline < due->second.deadline) due = it;
            }
            if (due == timers.end()) {
                wake.wait(guard);
                continue;
            }
            const auto now = std::chrono::steady_clock::now();
            if (due->second.deadline > now) {
                // A copy: the wait reads the deadline after waking, when a cancel may have erased the timer.
                const SteadyTime deadline = due->second.deadline;
                wake.wait_until(guard, deadline);
                continue;
            }
            Task handler = due->second.handler;
            if (due->second.interval > std::chrono::steady_clock::duration::zero()) {
                auto next = due->second.deadline + due->second.interval;
                if (next <= now) next += ((now - next) / due->second.interval + 1) * due->second.interval;
                due->second.deadline = next;
            } else {
                timers.erase(due);
            }
            guard.unlock();
            runGuarded(handler);
            guard.lock();
        }
    }

    static void runGuarded(const Task& task) {
        try {
            if (task) task();
        } catch (...) {
            // A failing task must not end the queue; nothing can be reported from here.
        }
    }
};

SerialQueue::SerialQueue(std::string label) : queueLabel(std::move(label)), state(std::make_shared<State>()) {
    std::lock_guard guard(state->lock);
    state->worker = std::thread([s = state] { s->run(); });
    state->workerId = state->worker.get_id();
}

SerialQueue::~SerialQueue() {
    shutdown();
}

bool SerialQueue::isCurrent() const {
    std::lock_guard guard(state->lock);
    return std::this_thread::get_id() == state->workerId;
}

void SerialQueue::async(Task task) {
    {
        std::lock_guard guard(state->lock);
        if (state->isStopping) return;
        state->tasks.push_back(std::move(task));
    }
    state->wake.notify_one();
}

bool SerialQueue::sync(const Task& task) {
    if (isCurrent()) {
        State::runGuarded(task);
        return true;
    }
    auto done = std::make_shared<std::promise<void>>();
    auto finished = done->get_future();
    {
        std::lock_guard guard(state->lock);
        if (state->isStopping) return false;
        state->tasks.push_back([task, done] {
            try {
                if (task) task();
                done->set_value();
            } catch (...) {
                done->set_exception(std::current_exception());
            }
        });
    }
    state->wake.notify_one();
    try {
        finished.get();
    } catch (const std::future_error&) {
        return false; // dropped by a shutdown before it ran
    }
    return true;
}

DispatchQueue::TimerId SerialQueue::scheduleTimer(double firstDelay, double interval, double /*leeway*/, Task handler) {
    // Fires are never early and never held back on purpose, so any leeway is honoured.
    TimerId id = 0;
    {
        std::lock_guard guard(state->lock);
        if (state->isStopping) return 0;
        id = state->nextTimerId++;
        state->timers[id] =
            Timer{std::chrono::steady_clock::now() + toDuration(firstDelay), toDuration(interval), std::move(handler)};
    }
    state->wake.notify_one();
    return id;
}

void SerialQueue::cancelTimer(TimerId id) {
    std::lock_guard guard(state->lock);
    state->timers.erase(id);
}

void SerialQueue::shutdown() {
    std::thread worker;
    std::deque<Task> dropped;
    std::map<TimerId, Timer> droppedTimers;
    {
        std::lock_guard guard(state->lock);
        state->isStopping = true;
        dropped.swap(state->tasks);
        droppedTimers.swap(state->timers);
        worker = std::move(state->worker);
    }
    state->wake.notify_all();
    if (!worker.joinable()) return;
    if (worker.get_id() == std::this_thread::get_id()) {
        worker.detach(); // the worker holds the state itself and ends after the current task
    } else {
        worker.join();
    }
    // `dropped` goes out of scope here, outside the lock: a sync caller waiting on one of them sees a
    // broken promise and returns false.
}

} // namespace glimmer
