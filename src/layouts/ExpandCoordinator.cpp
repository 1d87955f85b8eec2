#include "layouts/ExpandCoordinator.h"

#include "card/DockGeometry.h"
#include "card/FloatingPanel.h"
#include "card/ScreenSpace.h"
#include "card/Theme.h"
#include "card/WindowAnimator.h"
#include "layouts/SubChartView.h"


#include <algorithm>
#include <cmath>
#include <utility>

namespace glimmer {

namespace {

QString panelTitle(ChartView view) {
    return QStringLiteral("Glimmerbox-") + QString::fromUtf8(ChartViews::label(view));
}

} // namespace

ExpandCoordinator::ExpandCoordinator(const ScreenSource& screens, const Clock& clock, double pace)
    : screens(screens), clock(clock), pace(pace) {
}

void ExpandCoordinator::later(QObject* context, double seconds, std::function<void()> step) const {
    WindowAnimator::after(context, seconds * pace, std::move(step));
}

ExpandCoordinator::~ExpandCoordinator() {
    for (const QPointer<FloatingPanel>& panel : subPanels) delete panel.data();
}

Rect ExpandCoordinator::visibleFrame(const FloatingPanel& mainPanel) const {
    const std::vector<Screen> displays = currentScreens(screens);
    if (displays.empty()) return DockGeometry::fallbackVisibleFrame;
    return DockGeometry::visibleFrame(mainPanel.frame(), displays);
}

void ExpandCoordinator::remember(Point mainOrigin, const std::vector<Rect>& subs) {
    anchor = mainOrigin;
    plannedFrames = subs;
    offsets.clear();
    for (const Rect& sub : subs) offsets.push_back({sub.x - mainOrigin.x, sub.y - mainOrigin.y});
}

void ExpandCoordinator::expand(FloatingPanel& mainPanel, double mainWidth, double mainHeight, double cardWidth,
                               double opacity, bool topmost, std::optional<MarketEntry> entry,
                               std::function<void()> completion) {
    if (expanded) return;
    expanded = true;
    animating = true;
    const int current = ++generation;
    if (entry) lastEntry = entry;

    const ExpandLayout::Plan plan = layout(mainWidth, mainHeight, cardWidth, visibleFrame(mainPanel));
    remember(plan.main.origin(), plan.subs);

    for (std::size_t k = 0; k < plan.subs.size(); ++k) {
        const ChartView chart = ExpandLayout::subViews[k];
        auto* panel = new FloatingPanel(plan.subs[k], screens);
        panel->setAllowsOffscreenFrame(true);
        panel->setFrame(plan.subs[k]);
        panel->setAlwaysOnTop(topmost);
        panel->setAlphaValue(0);
        panel->setWindowTitle(panelTitle(chart));
        if (theme) Theme::applyMode(panel, *theme);
        auto* view = new SubChartView(chart);
        view->setEntry(entry);
        view->push();
        panel->setContentView(view);
        subPanels.emplace_back(panel);
        subViews.emplace_back(view);
    }

    WindowAnimator::move(mainPanel, plan.main.origin(), mainMoveMs / 1000.0, {}, clock);
    for (std::size_t k = 0; k < subPanels.size(); ++k) {
        later(&timers, (firstRevealMs + revealStepMs * double(k)) / 1000.0,
              [this, k, opacity, current] { reveal(k, opacity, current); });
    }
    const double done =
        (firstRevealMs + revealStepMs * double(std::max<std::size_t>(subPanels.size(), 1) - 1) + riseMs) / 1000.0;
    later(&timers, done, [this, current, completion = std::move(completion)] {
        if (current != generation) return;
        animating = false;
        if (completion) completion();
    });
}

void ExpandCoordinator::reveal(std::size_t k, double opacity, int current) {
    if (current != generation || k >= subPanels.size() || subPanels[k].isNull()) return;
    FloatingPanel& panel = *subPanels[k];
    // Placed first, so the window never flashes at its final spot.
    WindowAnimator::fadeInAndRise(panel, plannedFrames[k], 0, opacity, riseMs / 1000.0, clock);
    panel.orderFront();
}

void ExpandCoordinator::collapse(FloatingPanel& mainPanel, const Rect& restoredFrame,
                                 std::function<void()> completion) {
    if (!expanded) return;
    animating = true;
    const int current = ++generation;
    const std::size_t n = subPanels.size();
    for (std::size_t k = 0; k < n; ++k) {
        QPointer<FloatingPanel> panel = subPanels[k];
        later(&timers, double(n - 1 - k) * revealStepMs / 1000.0, [this, panel, current] {
            if (current != generation || panel.isNull()) return;
            WindowAnimator::fadeOutAndSink(*panel, sinkDistance, sinkMs / 1000.0, clock);
        });
    }
    const double faded = revealStepMs / 1000.0 * double(std::max<std::size_t>(n, 1) - 1) + sinkMs / 1000.0;
    QPointer<FloatingPanel> main(&mainPanel);
    const Point restored = restoredFrame.origin();
    later(&timers, faded * 0.55, [this, main, restored, current] {
        if (current != generation || main.isNull()) return;
        WindowAnimator::move(*main, restored, mainMoveMs / 1000.0, {}, clock);
    });
    const double done = std::max(faded, faded * 0.55 + mainMoveMs / 1000.0) + 0.03;
    later(&timers, done, [this, current, completion = std::move(completion)] {
        if (current != generation) return;
        dropPanels();
        if (completion) completion();
    });
}

void ExpandCoordinator::toggle(FloatingPanel& mainPanel) {
    if (animating) return;
    if (expanded) {
        const Rect restored = savedFrame.value_or(mainPanel.frame());
        collapse(mainPanel, restored, [this] { savedFrame.reset(); });
        return;
    }
    const Rect frame = mainPanel.frame();
    savedFrame = frame;
    expand(mainPanel, frame.width, frame.height, frame.width - ExpandLayout::panelMargin, mainPanel.alphaValue(),
           mainPanel.alwaysOnTop(), lastEntry);
}

void ExpandCoordinator::collapseImmediately() {
    ++generation;
    dropPanels();
}

void ExpandCoordinator::dropPanels() {
    for (const QPointer<FloatingPanel>& panel : subPanels) {
        if (!panel.isNull()) panel->retire();
    }
    subPanels.clear();
    subViews.clear();
    plannedFrames.clear();
    offsets.clear();
    anchor.reset();
    expanded = false;
    animating = false;
}

std::optional<Point> ExpandCoordinator::follow(FloatingPanel& mainPanel) {
    if (!expanded || animating || applyingFrame || !anchor || offsets.size() != subPanels.size()) return std::nullopt;
    const Rect frame = mainPanel.frame();
    const Point origin =
        ExpandLayout::clampedOrigin(frame.origin(), frame.width, frame.height, visibleFrame(mainPanel));
    applyingFrame = true;
    if (origin != frame.origin()) mainPanel.setFrame({origin.x, origin.y, frame.width, frame.height});
    for (std::size_t k = 0; k < subPanels.size(); ++k) {
        if (subPanels[k].isNull()) continue;
        // Sizes are known, so each panel is placed with a single geometry change.
        const Rect& planned = plannedFrames[k];
        subPanels[k]->setFrame({origin.x + offsets[k].x, origin.y + offsets[k].y, planned.width, planned.height});
    }
    anchor = origin;
    applyingFrame = false;
    return origin;
}

void ExpandCoordinator::relayout(FloatingPanel& mainPanel) {
    if (!expanded || animating || applyingFrame || offsets.size() != subPanels.size()) return;
    const Rect main = mainPanel.frame();
    const std::vector<Rect> frames = ExpandLayout::relayout(main, visibleFrame(mainPanel));
    applyingFrame = true;
    for (std::size_t k = 0; k < subPanels.size() && k < frames.size(); ++k) {
        if (!subPanels[k].isNull()) subPanels[k]->setFrame(frames[k]);
    }
    applyingFrame = false;
    remember(main.origin(), frames);
}

void ExpandCoordinator::update(const std::optional<MarketEntry>& entry) {
    lastEntry = entry;
    if (!expanded) return;
    for (const QPointer<SubChartView>& view : subViews) {
        if (view.isNull()) continue;
        view->setEntry(entry);
        view->push();
    }
}

void ExpandCoordinator::setAlpha(double alpha) {
    if (animating) return; // the running fades end at the alpha they were given
    for (const QPointer<FloatingPanel>& panel : subPanels) {
        if (!panel.isNull()) panel->setAlphaValue(alpha);
    }
}

void ExpandCoordinator::applyTopmost(bool topmost) {
    for (const QPointer<FloatingPanel>& panel : subPanels) {
        if (!panel.isNull()) panel->setAlwaysOnTop(topmost);
    }
}

void ExpandCoordinator::applyAppearance(ThemeMode mode) {
    theme = mode;
    for (const QPointer<FloatingPanel>& panel : subPanels) {
        if (panel.isNull()) continue;
        Theme::applyMode(panel, mode);
        panel->update();
        if (QWidget* content = panel->contentView()) content->update();
    }
}

void ExpandCoordinator::orderFront() {
    if (animating) return;
    for (const QPointer<FloatingPanel>& panel : subPanels) {
        if (!panel.isNull()) panel->orderFront();
    }
}

void ExpandCoordinator::orderOut() {
    if (animating) return;
    for (const QPointer<FloatingPanel>& panel : subPanels) {
        if (!panel.isNull()) panel->orderOut();
    }
}

std::vector<Rect> ExpandCoordinator::subPanelFrames() const {
    std::vector<Rect> frames;
    for (const QPointer<FloatingPanel>& panel : subPanels) {
        if (!panel.isNull()) frames.push_back(panel->frame());
    }
    return frames;
}

std::vector<FloatingPanel*> ExpandCoordinator::panels() const {
    std::vector<FloatingPanel*> result;
    for (const QPointer<FloatingPanel>& panel : subPanels) result.push_back(panel.data());
    return result;
}

std::vector<SubChartView*> ExpandCoordinator::views() const {
    std::vector<SubChartView*> result;
    for (const QPointer<SubChartView>& view : subViews) result.push_back(view.data());
    return result;
}

} // namespace glimmer
