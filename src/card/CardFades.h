#pragma once

#include "model/ChartView.h"

#include <QEasingCurve>
#include <QObject>
#include <QTimer>
#include <QVariantAnimation>

#include <array>
#include <functional>

namespace glimmer {

/// The card's animated values: the alpha of each of the five charts (cross-fade and pulse), the
/// alpha of the hover controls, and the breathing alpha of the alert glow. Each animation runs only
/// while it has work and stops when done, so an idle card never repaints.
class CardFades : public QObject {
    Q_OBJECT
public:
    static constexpr int crossFadeMs = 240;
    static constexpr int pulseMs = 200;
    static constexpr int hoverFadeMs = 150;
    /// One way; the glow fades down and back up in twice this.
    static constexpr int breathMs = 850;
    static constexpr double breathLowAlpha = 0.15;
    /// Levels between full and low alpha. Finer steps cannot be told apart on a thin border, and each
    /// step costs a repaint of the ring, which an alert keeps going for many seconds: 16 make about 19
    /// repaints a second instead of one per frame.
    static constexpr int breathSteps = 16;

    /// The glow's alpha `progress` (0 to 1) of the way through one breath, down and back up.
    static double breathAlpha(double progress);

    explicit CardFades(QObject* parent = nullptr);

    double chartAlpha(ChartView view) const;
    /// Whether the chart is drawn at all (hidden charts are skipped even when their alpha is not 0).
    bool isChartShown(ChartView view) const;
    /// `view` alone, at full alpha, at once.
    void showOnly(ChartView view);
    /// `view` fades in while every other shown chart fades out and is then hidden.
    void crossFadeTo(ChartView view);
    /// Every shown chart fades in from nothing.
    void pulse();

    double buttonsAlpha() const { return buttons; }
    double sliderAlpha() const { return slider; }
    void setControls(double buttonsTarget, double sliderTarget);
    void fadeControls(double buttonsTarget, double sliderTarget);

    double glowAlpha() const { return glow; }
    bool isBreathing() const { return breath.isActive(); }
    void startBreathing();
    void stopBreathing();

    /// Jumps every running chart and control animation to its end and pauses the glow: the card
    /// is about to be hidden.
    void settle();
    /// Picks up the glow again after `settle`.
    void resumeBreathing();
    bool isAnimating() const;

    std::function<void()> onChartsChanged;
    std::function<void()> onControlsChanged;
    std::function<void()> onGlowChanged;

    /// Core Animation's standard curves as cubic Béziers.
    static QEasingCurve easeInEaseOut();
    static QEasingCurve easeOut();

private:
    void finishCrossFade();

    // Indexed by the views' stored numbers; the intraday chart shows first.
    std::array<double, ChartViews::count> alpha{1};
    std::array<bool, ChartViews::count> shown{true};
    std::array<double, ChartViews::count> from{};
    std::array<double, ChartViews::count> to{};
    ChartView currentView = ChartView::intraday;
    QVariantAnimation charts;
    bool isCrossFade = false;

    double buttons = 0;
    double slider = 0;
    double buttonsFrom = 0, buttonsTo = 0, sliderFrom = 0, sliderTo = 0;
    QVariantAnimation controls;

    double glow = 1;
    bool wantsBreathing = false;
    // Stepped by a plain timer at the step rate: an animation would wake the program 60 times a
    // second for as long as an alert lasts, to change the alpha only every other frame.
    QTimer breath;
    int breathStep = 0;
    /// A breath from full alpha.
    void restartBreath();
};

} // namespace glimmer
