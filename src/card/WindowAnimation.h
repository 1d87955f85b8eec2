#pragma once

#include "model/Clock.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace glimmer {

/// One running animation: a 60 Hz timer that feeds eased progress to `apply` until the duration has
/// passed, then calls the completion and deletes itself. The timer exists only while it runs.
class WindowAnimation : public QObject {
    Q_OBJECT
public:
    using Ease = std::function<double(double)>;
    using Apply = std::function<void(double)>;
    using Completion = std::function<void()>;

    static constexpr int tickMilliseconds = 16;

    WindowAnimation(double duration, Ease ease, Apply apply, Completion completion, const Clock& clock,
                    QObject* parent = nullptr);

    /// Remembers the start time and starts the timer; the first update comes one tick later.
    void start();
    /// One timer tick: applies the eased progress; at the end stops, completes and deletes itself.
    void tick();
    /// Stops without applying or completing anything more.
    void cancel();
    bool isRunning() const { return timer.isActive(); }
    /// Progress of the last tick, 0 to 1.
    double progress() const { return lastProgress; }

private:
    void finish();

    double duration;
    Ease ease;
    Apply apply;
    Completion completion;
    const Clock& clock;
    Instant startTime;
    double lastProgress = 0;
    QTimer timer;
};

} // namespace glimmer
