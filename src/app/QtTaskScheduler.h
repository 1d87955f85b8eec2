#pragma once

#include "app/TaskScheduler.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>

class QTimer;

namespace glimmer {

/// Tasks on precise Qt timers of the thread that created the scheduler.
class QtTaskScheduler final : public QObject, public TaskScheduler {
    Q_OBJECT
public:
    explicit QtTaskScheduler(QObject* parent = nullptr);
    ~QtTaskScheduler() override;

    TaskId schedule(double delaySeconds, std::function<void()> task) override;
    TaskId scheduleRepeating(double intervalSeconds, std::function<void()> task) override;
    void cancel(TaskId id) override;
    double now() const override;

    std::size_t pendingCount() const { return timers.size(); }

private:
    TaskId start(double seconds, bool repeating, std::function<void()> task);

    std::map<TaskId, QTimer*> timers;
    TaskId nextId = 1;
    QElapsedTimer elapsed;
};

} // namespace glimmer
