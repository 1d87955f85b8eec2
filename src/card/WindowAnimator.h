#pragma once

#include "card/AnimatedWindow.h"
#include "card/WindowAnimation.h"
#include "model/Clock.h"

#include <functional>

namespace glimmer {

/// Moves and fades windows with fixed easing curves. Each call returns the running animation, or
/// nullptr when a duration of zero or less finished it at once.
namespace WindowAnimator {

/// 1 − (1 − t)³.
double easeOutCubic(double t);
/// 2t² before the midpoint, 1 − (2 − 2t)² / 2 after it.
double easeInOutQuad(double t);

/// The shared driver: apply(ease(t)) on every 60 Hz tick until t reaches 1, then the completion.
WindowAnimation* step(double duration, WindowAnimation::Ease ease, WindowAnimation::Apply apply,
                      WindowAnimation::Completion completion, const Clock& clock = Clock::system(),
                      QObject* host = nullptr);

/// Runs `step` on the event loop after `seconds` (precise timer), unless `context` is gone by then.
void after(QObject* context, double seconds, std::function<void()> step);

WindowAnimation* move(AnimatedWindow& window, Point toOrigin, double duration,
                      WindowAnimation::Completion completion = {}, const Clock& clock = Clock::system());

/// Starts 14 points higher than `toFrame` at `fromAlpha` and settles onto it at `toAlpha`.
WindowAnimation* fadeInAndRise(AnimatedWindow& window, const Rect& toFrame, double fromAlpha, double toAlpha,
                               double duration, const Clock& clock = Clock::system());

/// Fades to alpha 0 while sinking `sink` points; hiding the window is the caller's business.
WindowAnimation* fadeOutAndSink(AnimatedWindow& window, double sink, double duration,
                                const Clock& clock = Clock::system());

} // namespace WindowAnimator
} // namespace glimmer
