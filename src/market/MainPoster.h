#pragma once

#include <deque>
#include <functional>
#include <mutex>

namespace glimmer {

/// Hands a task to the main thread, to run there later in posting order. The owner of a market store
/// injects it: the Qt application posts through its event loop, tests collect tasks in a
/// `PostedTasks` and drain them.
using MainPoster = std::function<void(std::function<void()>)>;

/// A thread-safe inbox of posted tasks that the owning thread drains when it chooses.
class PostedTasks {
public:
    MainPoster poster() {
        return [this](std::function<void()> task) {
            std::lock_guard guard(lock);
            tasks.push_back(std::move(task));
        };
    }

    /// Runs every task posted so far, and those they post, in order; returns how many ran.
    int drain() {
        int count = 0;
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard guard(lock);
                if (tasks.empty()) return count;
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            if (task) task();
            ++count;
        }
    }

    std::size_t size() const {
        std::lock_guard guard(lock);
        return tasks.size();
    }

private:
    mutable std::mutex lock;
    std::deque<std::function<void()>> tasks;
};

} // namespace glimmer
