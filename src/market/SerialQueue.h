#pragma once

#include "market/DispatchQueue.h"

#include <memory>
#include <string>

namespace glimmer {

/// A `DispatchQueue` served by one worker thread; timers follow the steady clock. Destroying the
/// queue (or `shutdown`) drops the tasks still waiting, lets the running one finish and joins the
/// worker. A task that throws is dropped without taking the worker down.
class SerialQueue final : public DispatchQueue {
public:
    explicit SerialQueue(std::string label);
    ~SerialQueue() override;
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const std::string& label() const { return queueLabel; }
    /// Whether the caller runs on this queue's worker.
    bool isCurrent() const;

    void async(Task task) override;
    bool sync(const Task& task) override;
    TimerId scheduleTimer(double firstDelay, double interval, double leeway, Task handler) override;
    void cancelTimer(TimerId id) override;

    void shutdown();

private:
    struct State;
    std::string queueLabel;
    std::shared_ptr<State> state;
};

} // namespace glimmer
