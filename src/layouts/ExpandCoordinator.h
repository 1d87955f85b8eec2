#pragma once

#include "card/ScreenRect.h"
#include "card/ScreenSource.h"
#include "layouts/ExpandLayout.h"
#include "model/AppConfig.h"
#include "model/Clock.h"
#include "model/MarketEntry.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

namespace glimmer {

class FloatingPanel;
class SubChartView;

/// Expand mode: four sub-chart panels (MACD, fund flow, volume, daily candles) in a column under
/// the main card, which moves to the top-right corner. Owns the four panels and their geometry; the
/// group follows the main card while it is dragged. Toggle requests during an animation are ignored.
class ExpandCoordinator {
public:
    /// Panel reveal timings, in milliseconds.
    static constexpr int mainMoveMs = 450;
    static constexpr int firstRevealMs = 160;
    static constexpr int revealStepMs = 100;
    static constexpr int riseMs = 300;
    static constexpr int sinkMs = 220;
    static constexpr double sinkDistance = 10;

    /// `pace` stretches the delays between the steps (0: each step as soon as the event loop
    /// runs); the moves and fades themselves run on `clock`.
    explicit ExpandCoordinator(const ScreenSource& screens = ScreenSource::system(),
                               const Clock& clock = Clock::system(), double pace = 1);
    virtual ~ExpandCoordinator();
    ExpandCoordinator(const ExpandCoordinator&) = delete;
    ExpandCoordinator& operator=(const ExpandCoordinator&) = delete;

    static ExpandLayout::Plan layout(double mainWidth, double mainHeight, double cardWidth, const Rect& screen) {
        return ExpandLayout::layout(mainWidth, mainHeight, cardWidth, screen);
    }

    /// The four panels exist: from the start of expanding to the end of collapsing.
    virtual bool isExpanded() const { return expanded; }
    virtual bool isAnimating() const { return animating; }

    /// Moves the main panel to the top-right corner and lets the four panels drop in one after the
    /// other; `completion` runs when the last one has settled (0.76 s). Nothing when expanded.
    void expand(FloatingPanel& mainPanel, double mainWidth, double mainHeight, double cardWidth, double opacity,
                bool topmost, std::optional<MarketEntry> entry, std::function<void()> completion = {});
    /// Rolls the column up from the bottom and moves the main panel to `restoredFrame`'s origin;
    /// `completion` runs once every panel is gone (0.766 s). Nothing when not expanded.
    void collapse(FloatingPanel& mainPanel, const Rect& restoredFrame, std::function<void()> completion = {});

    /// Expands around `mainPanel` (remembering its frame) or collapses back to that frame; ignored
    /// while an animation runs.
    virtual void toggle(FloatingPanel& mainPanel);
    /// The main panel's frame before the last expansion made through `toggle`.
    const std::optional<Rect>& frameBeforeExpand() const { return savedFrame; }
    /// Removes the panels at once, without animation or completion (termination).
    virtual void collapseImmediately();

    /// The main panel moved: keeps it inside its screen and moves the column by the same offset.
    /// Returns the main panel's (clamped) origin, or none when the group is not following.
    virtual std::optional<Point> follow(FloatingPanel& mainPanel);
    /// The main card was resized: rebuilds the column under it, the main panel stays.
    virtual void relayout(FloatingPanel& mainPanel);
    /// Live data for the four charts.
    virtual void update(const std::optional<MarketEntry>& entry);

    /// Window settings shared with the main panel.
    virtual void setAlpha(double alpha);
    virtual void applyTopmost(bool topmost);
    virtual void applyAppearance(ThemeMode mode);
    /// Shows and hides the panels with the main panel; not while an animation runs.
    virtual void orderFront();
    virtual void orderOut();

    /// Current frames of the panels, top first.
    std::vector<Rect> subPanelFrames() const;
    std::vector<FloatingPanel*> panels() const;
    std::vector<SubChartView*> views() const;
    const std::optional<Point>& mainAnchor() const { return anchor; }
    const std::vector<Point>& subOffsets() const { return offsets; }
    bool isApplyingFrame() const { return applyingFrame; }
    const std::optional<ThemeMode>& appearance() const { return theme; }

    /// The visible frame of the screen that holds most of the main panel.
    Rect visibleFrame(const FloatingPanel& mainPanel) const;

private:
    void remember(Point mainOrigin, const std::vector<Rect>& subs);
    void reveal(std::size_t k, double opacity, int generation);
    /// Runs `step` after `seconds` times the pace, unless `context` is gone by then.
    void later(QObject* context, double seconds, std::function<void()> step) const;
    /// Orders out and drops every panel and resets the state (not `isAnimating`'s owner flags).
    void dropPanels();

    const ScreenSource& screens;
    const Clock& clock;
    const double pace;
    bool expanded = false;
    bool animating = false;
    std::vector<QPointer<FloatingPanel>> subPanels;
    std::vector<QPointer<SubChartView>> subViews;
    std::vector<Rect> plannedFrames;
    std::optional<ThemeMode> theme;
    std::optional<Point> anchor;
    std::vector<Point> offsets;
    bool applyingFrame = false;

    std::optional<MarketEntry> lastEntry;
    std::optional<Rect> savedFrame;
    /// Counts expansions and collapses, so delayed steps of an earlier one do nothing.
    int generation = 0;
    /// Owns the delayed steps: they end with the coordinator.
    QObject timers;
};

} // namespace glimmer
