#pragma once

#include "card/CardCallbacks.h"
#include "card/CardLayout.h"
#include "card/ScreenRect.h"
#include "model/Clock.h"

#include <functional>
#include <optional>
#include <vector>

namespace glimmer {

/// The card's mouse state machine: press, drag to move, edge resize, release with a dock side,
/// single clicks delayed so a double click can cancel them, and horizontal scroll switching. It
/// knows no widgets: positions come in as view points (y down) and screen points (y up), and the
/// window, the screens and the delayed-click timer are reached through the host.
class CardInteraction {
public:
    enum class DragMode { none, move, resize };

    static constexpr double dragThreshold = 4;
    static constexpr double singleClickDelay = 0.24;
    static constexpr double scrollThreshold = 40;
    static constexpr double scrollResetAfter = 0.5;
    static constexpr double scrollCooldown = 0.45;

    class Host {
    public:
        virtual ~Host() = default;
        virtual CardLayout cardLayout() const = 0;
        /// The views of the dots, in dot order; empty when no dots are drawn.
        virtual std::vector<ChartView> dotViews() const = 0;
        virtual ChartView nextView() const = 0;
        virtual bool isExpandMode() const = 0;
        /// The panel's frame in screen space; none when the card is not in a panel.
        virtual std::optional<Rect> windowFrame() const = 0;
        virtual void setWindowFrame(const Rect& frame) = 0;
        virtual std::vector<Screen> screens() const = 0;
        virtual std::optional<DockSide> dockPreviewSide() const = 0;
        /// Stores the preview side and redraws when it changed.
        virtual void setDockPreviewSide(std::optional<DockSide> side) = 0;
        /// Asks for `runDueSingleClick` after `seconds`; a new request replaces the old one.
        virtual void armSingleClickTimer(double seconds) = 0;
        virtual void cancelSingleClickTimer() = 0;
    };

    CardInteraction(Host& host, CardCallbacks& callbacks, const Clock& clock = Clock::system());

    /// A primary press; a Qt double-click event is the second press with `clickCount` 2.
    void press(QPointF p, Point screen, int clickCount);
    void drag(Point screen);
    void release(QPointF p);
    /// Returns false when the gesture is mostly vertical, so the caller passes it on.
    bool scroll(double deltaX, double deltaY);

    /// Runs the pending single click once its delay has passed; re-arms the timer when it is early.
    void runDueSingleClick();
    bool hasPendingSingleClick() const { return static_cast<bool>(pendingSingleClick); }

    DragMode dragMode() const { return mode; }
    ResizeEdge resizeEdge() const { return edge; }
    bool didDrag() const { return hasDragged; }

private:
    void scheduleSingleClick(std::function<void()> action);
    void cancelSingleClick();
    /// The panel's dock side for `frame` within `tolerance`, over the current screens.
    std::optional<DockSide> sideFor(const Rect& frame, double tolerance) const;

    Host& host;
    CardCallbacks& callbacks;
    const Clock& clock;

    DragMode mode = DragMode::none;
    ResizeEdge edge;
    Point dragStartMouse;
    Rect dragStartFrame;
    bool hasDragged = false;
    int pressClickCount = 0;
    std::function<void()> pendingSingleClick;
    Instant singleClickDue{};
    double scrollAccumX = 0;
    // None stands for the distant past.
    std::optional<Instant> lastScrollAt;
    std::optional<Instant> scrollCooldownUntil;
};

} // namespace glimmer
