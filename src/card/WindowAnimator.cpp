#include "card/WindowAnimator.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

#include <utility>

namespace glimmer::WindowAnimator {

namespace {

// Vertical offset fadeInAndRise starts from.
constexpr double riseDistance = 14;

} // namespace

double easeOutCubic(double t) {
    const double u = 1 - t;
    return 1 - u * u * u;
}

double easeInOutQuad(double t) {
    if (t < 0.5) return 2 * t * t;
    const double u = 2 - 2 * t;
    return 1 - u * u / 2;
}

WindowAnimation* step(double duration, WindowAnimation::Ease ease, WindowAnimation::Apply apply,
                      WindowAnimation::Completion completion, const Clock& clock, QObject* host) {
    auto* animation = new WindowAnimation(duration, std::move(ease), std::move(apply), std::move(completion), clock, host);
    animation->start();
    return animation;
}

void after(QObject* context, double seconds, std::function<void()> step) {
    QTimer::singleShot(std::max(0, int(std::lround(seconds * 1000))), Qt::PreciseTimer, context, std::move(step));
}

WindowAnimation* move(AnimatedWindow& window, Point toOrigin, double duration, WindowAnimation::Completion completion,
                      const Clock& clock) {
    const Point start = window.frame().origin();
    if (duration <= 0) {
        window.setFrameOrigin(toOrigin);
        if (completion) completion();
        return nullptr;
    }
    return step(
        duration, easeInOutQuad,
        [&window, start, toOrigin](double e) {
            window.setFrameOrigin({start.x + (toOrigin.x - start.x) * e, start.y + (toOrigin.y - start.y) * e});
        },
        std::move(completion), clock, window.animationHost());
}

WindowAnimation* fadeInAndRise(AnimatedWindow& window, const Rect& toFrame, double fromAlpha, double toAlpha,
                               double duration, const Clock& clock) {
    window.setFrameOrigin({toFrame.x, toFrame.y + riseDistance});
    window.setAlphaValue(fromAlpha);
    if (duration <= 0) {
        window.setAlphaValue(toAlpha);
        window.setFrameOrigin(toFrame.origin());
        return nullptr;
    }
    return step(
        duration, easeOutCubic,
        [&window, toFrame, fromAlpha, toAlpha](double e) {
            window.setAlphaValue(fromAlpha + (toAlpha - fromAlpha) * e);
            window.setFrameOrigin({toFrame.x, toFrame.y + riseDistance - riseDistance * e});
        },
        {}, clock, window.animationHost());
}

WindowAnimation* fadeOutAndSink(AnimatedWindow& window, double sink, double duration, const Clock& clock) {
    const Rect start = window.frame();
    const double startAlpha = window.alphaValue();
    if (duration <= 0) {
        window.setAlphaValue(0);
        window.setFrameOrigin({start.x, start.y - sink});
        return nullptr;
    }
    return step(
        duration, easeInOutQuad,
        [&window, start, startAlpha, sink](double e) {
            window.setAlphaValue(startAlpha * (1 - e));
            window.setFrameOrigin({start.x, start.y - sink * e});
        },
        {}, clock, window.animationHost());
}

} // namespace glimmer::WindowAnimator
