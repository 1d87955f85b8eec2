#include "card/CardFades.h"

#include <QPointF>

#include <algorithm>
#include <cmath>

namespace glimmer {

namespace {

void callIfSet(const std::function<void()>& callback) {
    if (callback) callback();
}

} // namespace

QEasingCurve CardFades::easeInEaseOut() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

QEasingCurve CardFades::easeOut() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

CardFades::CardFades(QObject* parent) : QObject(parent) {
    charts.setStartValue(0.0);
    charts.setEndValue(1.0);
    connect(&charts, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const double e = value.toDouble();
        for (std::size_t k = 0; k < alpha.size(); ++k) alpha[k] = from[k] + (to[k] - from[k]) * e;
        callIfSet(onChartsChanged);
    });
    connect(&charts, &QVariantAnimation::finished, this, [this] {
        if (isCrossFade) finishCrossFade();
        callIfSet(onChartsChanged);
    });

    controls.setStartValue(0.0);
    controls.setEndValue(1.0);
    controls.setDuration(hoverFadeMs);
    controls.setEasingCurve(easeInEaseOut());
    connect(&controls, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        const double e = value.toDouble();
        buttons = buttonsFrom + (buttonsTo - buttonsFrom) * e;
        slider = sliderFrom + (sliderTo - sliderFrom) * e;
        callIfSet(onControlsChanged);
    });

    // Linear, down and back up, for as long as the alert lasts.
    breath.setInterval(breathMs / breathSteps);
    connect(&breath, &QTimer::timeout, this, [this] {
        breathStep = (breathStep + 1) % (2 * breathSteps);
        glow = breathAlpha(double(breathStep) / (2 * breathSteps));
        callIfSet(onGlowChanged);
    });
}

double CardFades::breathAlpha(double progress) {
    const double p = std::clamp(progress, 0.0, 1.0);
    const double down = p < 0.5 ? 2 * p : 2 - 2 * p;
    const double step = std::round(down * breathSteps);
    return 1.0 - (1.0 - breathLowAlpha) * step / breathSteps;
}

double CardFades::chartAlpha(ChartView view) const {
    return alpha[std::size_t(ChartViews::stored(view))];
}

bool CardFades::isChartShown(ChartView view) const {
    return shown[std::size_t(ChartViews::stored(view))];
}

void CardFades::showOnly(ChartView view) {
    charts.stop();
    isCrossFade = false;
    currentView = view;
    const std::size_t only = std::size_t(ChartViews::stored(view));
    for (std::size_t k = 0; k < alpha.size(); ++k) {
        shown[k] = k == only;
        alpha[k] = k == only ? 1 : 0;
    }
    callIfSet(onChartsChanged);
}

void CardFades::crossFadeTo(ChartView view) {
    charts.stop();
    currentView = view;
    const std::size_t incoming = std::size_t(ChartViews::stored(view));
    for (std::size_t i = 0; i < alpha.size(); ++i) {
        from[i] = alpha[i];
        if (i == incoming) {
            shown[i] = true;
            to[i] = 1;
        } else {
            to[i] = shown[i] ? 0 : alpha[i];
        }
    }
    isCrossFade = true;
    charts.setDuration(crossFadeMs);
    charts.setEasingCurve(easeInEaseOut());
    charts.start();
}

void CardFades::finishCrossFade() {
    isCrossFade = false;
    for (std::size_t k = 0; k < alpha.size(); ++k) {
        // A chart faded back in by a later switch keeps showing.
        if (to[k] == 0 && alpha[k] <= 0.01) shown[k] = false;
    }
}

void CardFades::pulse() {
    // A pulse in the middle of a cross-fade would bring the outgoing chart back: settle it first.
    if (isCrossFade && charts.state() == QAbstractAnimation::Running) showOnly(currentView);
    charts.stop();
    isCrossFade = false;
    for (std::size_t k = 0; k < alpha.size(); ++k) {
        from[k] = shown[k] ? 0 : alpha[k];
        to[k] = shown[k] ? 1 : alpha[k];
        alpha[k] = from[k];
    }
    charts.setDuration(pulseMs);
    charts.setEasingCurve(easeOut());
    charts.start();
    callIfSet(onChartsChanged);
}

void CardFades::setControls(double buttonsTarget, double sliderTarget) {
    controls.stop();
    buttons = buttonsTarget;
    slider = sliderTarget;
    callIfSet(onControlsChanged);
}

void CardFades::fadeControls(double buttonsTarget, double sliderTarget) {
    controls.stop();
    if (buttons == buttonsTarget && slider == sliderTarget) return;
    buttonsFrom = buttons;
    sliderFrom = slider;
    buttonsTo = buttonsTarget;
    sliderTo = sliderTarget;
    controls.start();
}

void CardFades::startBreathing() {
    wantsBreathing = true;
    if (isBreathing()) return;
    restartBreath();
    callIfSet(onGlowChanged);
}

void CardFades::stopBreathing() {
    wantsBreathing = false;
    breath.stop();
    glow = 1;
    callIfSet(onGlowChanged);
}

void CardFades::settle() {
    if (charts.state() == QAbstractAnimation::Running) charts.setCurrentTime(charts.duration());
    if (controls.state() == QAbstractAnimation::Running) controls.setCurrentTime(controls.duration());
    breath.stop();
}

void CardFades::resumeBreathing() {
    if (wantsBreathing && !isBreathing()) restartBreath();
}

void CardFades::restartBreath() {
    breathStep = 0;
    glow = 1;
    breath.start();
}

bool CardFades::isAnimating() const {
    return charts.state() == QAbstractAnimation::Running || controls.state() == QAbstractAnimation::Running ||
           isBreathing();
}

} // namespace glimmer
