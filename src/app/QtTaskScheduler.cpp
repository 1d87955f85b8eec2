#include "app/QtTaskScheduler.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace glimmer {

TaskScheduler& TaskScheduler::main() {
    static QtTaskScheduler* scheduler = new QtTaskScheduler;
    return *scheduler;
}

QtTaskScheduler::QtTaskScheduler(QObject* parent) : QObject(parent) {
    elapsed.start();
}

QtTaskScheduler::~QtTaskScheduler() {
    for (auto& [id, timer] : timers) delete timer;
}

TaskScheduler::TaskId QtTaskScheduler::schedule(double delaySeconds, std::function<void()> task) {
    return start(delaySeconds, false, std::move(task));
}

TaskScheduler::TaskId QtTaskScheduler::scheduleRepeating(double intervalSeconds, std::function<void()> task) {
    return start(intervalSeconds, true, std::move(task));
}

TaskScheduler::TaskId QtTaskScheduler::start(double seconds, bool repeating, std::function<void()> task) {
    const TaskId id = nextId++;
    auto* timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(!repeating);
    const double ms = std::isfinite(seconds) ? std::clamp(seconds * 1000.0, 0.0, 2.0e9) : 0.0;
    timer->setInterval(static_cast<int>(std::lround(ms)));
    connect(timer, &QTimer::timeout, this, [this, id, repeating, task = std::move(task)] {
        // Copied first: the task may cancel its own timer, which releases this closure.
        const std::function<void()> run = task;
        if (!repeating) cancel(id);
        if (run) run();
    });
    timers.emplace(id, timer);
    timer->start();
    return id;
}

void QtTaskScheduler::cancel(TaskId id) {
    const auto found = timers.find(id);
    if (found == timers.end()) return;
    found->second->stop();
    found->second->deleteLater();
    timers.erase(found);
}

double QtTaskScheduler::now() const {
    return static_cast<double>(elapsed.nsecsElapsed()) / 1e9;
}

} // namespace glimmer
