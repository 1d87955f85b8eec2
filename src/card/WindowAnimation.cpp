#include "card/WindowAnimation.h"

#include <QPointer>

#include <algorithm>
#include <utility>

namespace glimmer {

WindowAnimation::WindowAnimation(double duration, Ease ease, Apply apply, Completion completion,
                                 const Clock& clock, QObject* parent)
    : QObject(parent), duration(duration), ease(std::move(ease)), apply(std::move(apply)),
      completion(std::move(completion)), clock(clock) {
    timer.setInterval(tickMilliseconds);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &WindowAnimation::tick);
}

void WindowAnimation::start() {
    startTime = clock.now();
    lastProgress = 0;
    timer.start();
}

void WindowAnimation::tick() {
    if (!timer.isActive()) return;
    const double elapsed = secondsBetween(startTime, clock.now());
    // A zero duration (or a clock set back) must not produce a NaN or negative progress.
    double t = duration > 0 ? elapsed / duration : 1.0;
    t = std::clamp(t, 0.0, 1.0);
    lastProgress = t;
    QPointer<WindowAnimation> self(this);
    if (apply) apply(ease ? ease(t) : t);
    if (self && t >= 1) finish();
}

void WindowAnimation::cancel() {
    timer.stop();
    deleteLater();
}

void WindowAnimation::finish() {
    timer.stop();
    // The completion may tear down the window that owns this animation.
    QPointer<WindowAnimation> self(this);
    Completion done = std::move(completion);
    completion = nullptr;
    if (done) done();
    if (self) deleteLater();
}

} // namespace glimmer
