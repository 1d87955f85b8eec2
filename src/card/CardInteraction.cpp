#include "card/CardInteraction.h"

#include "card/DockGeometry.h"

#include <cmath>
#include <utility>

namespace glimmer {

CardInteraction::CardInteraction(Host& host, CardCallbacks& callbacks, const Clock& clock)
    : host(host), callbacks(callbacks), clock(clock) {
}

void CardInteraction::press(QPointF p, Point screen, int clickCount) {
    dragStartMouse = screen;
    dragStartFrame = host.windowFrame().value_or(Rect{});
    hasDragged = false;
    mode = DragMode::none;
    edge = {};
    pressClickCount = clickCount;
    if (host.dockPreviewSide()) host.setDockPreviewSide(std::nullopt);
    notify(callbacks.onFocusRequest);

    const CardLayout layout = host.cardLayout();
    if (!layout.isOnPin(p)) {
        const ResizeEdge pressed = layout.resizeEdge(p);
        if (!pressed.isEmpty()) {
            edge = pressed;
            mode = DragMode::resize;
            return;
        }
    }
    if (!layout.acceptsClick(p)) return;
    if (clickCount < 2) return;

    // The second press of a double click: the first click's delayed view switch never happens.
    cancelSingleClick();
    if (const auto view = layout.dotView(p, host.dotViews())) {
        notify(callbacks.onLockToggle, *view);
    } else if (layout.isOnPin(p)) {
        notify(callbacks.onPinToggle);
    } else {
        notify(callbacks.onSwitchStock, 1);
    }
}

void CardInteraction::drag(Point screen) {
    const std::optional<Rect> frame = host.windowFrame();
    if (!frame) return;
    const Point d{screen.x - dragStartMouse.x, screen.y - dragStartMouse.y};

    if (mode == DragMode::resize) {
        hasDragged = true;
        const Rect resized = resizedFrame(dragStartFrame, edge, d);
        host.setWindowFrame(resized);
        notify(callbacks.onResize,
               QSizeF(resized.width - CardLayout::leftGutter, resized.height - CardLayout::topStrip));
        return;
    }

    if (!hasDragged) {
        if (std::abs(d.x) <= dragThreshold && std::abs(d.y) <= dragThreshold) return;
        hasDragged = true;
        cancelSingleClick();
        mode = DragMode::move;
    }
    Rect moved = dragStartFrame;
    moved.x += d.x;
    moved.y += d.y;
    host.setWindowFrame(moved);
    const auto side = sideFor(moved, DockGeometry::previewTolerance);
    if (side != host.dockPreviewSide()) host.setDockPreviewSide(side);
}

void CardInteraction::release(QPointF p) {
    if (mode == DragMode::move) {
        if (const std::optional<Rect> frame = host.windowFrame()) {
            const auto side = sideFor(*frame, DockGeometry::snapTolerance);
            if (host.dockPreviewSide()) host.setDockPreviewSide(std::nullopt);
            notify(callbacks.onDragEnd, side);
        }
    } else if (mode == DragMode::resize) {
        notify(callbacks.onResizeCommit);
    } else if (!hasDragged && pressClickCount < 2) {
        const CardLayout layout = host.cardLayout();
        if (layout.acceptsClick(p)) {
            if (layout.isOnPin(p)) {
                notify(callbacks.onPinToggle);
            } else if (!host.isExpandMode()) {
                if (const auto view = layout.dotView(p, host.dotViews())) {
                    const ChartView chosen = *view;
                    scheduleSingleClick([this, chosen] { notify(callbacks.onSwitchView, chosen); });
                } else {
                    // The next view is chosen when the click is acted on, not now.
                    scheduleSingleClick([this] { notify(callbacks.onSwitchView, host.nextView()); });
                }
            }
        }
    }
    mode = DragMode::none;
    edge = {};
    hasDragged = false;
}

bool CardInteraction::scroll(double deltaX, double deltaY) {
    if (!(std::abs(deltaY) < std::abs(deltaX))) return false;
    const Instant now = clock.now();
    if (scrollCooldownUntil && now < *scrollCooldownUntil) return true;
    if (!lastScrollAt || secondsBetween(*lastScrollAt, now) > scrollResetAfter) scrollAccumX = 0;
    lastScrollAt = now;
    scrollAccumX += deltaX;
    if (std::abs(scrollAccumX) >= scrollThreshold) {
        const int delta = scrollAccumX > 0 ? 1 : -1;
        scrollAccumX = 0;
        scrollCooldownUntil =
            now + std::chrono::duration_cast<Instant::duration>(std::chrono::duration<double>(scrollCooldown));
        notify(callbacks.onSwitchStock, delta);
    }
    return true;
}

void CardInteraction::runDueSingleClick() {
    if (!pendingSingleClick) return;
    const double remaining = secondsBetween(clock.now(), singleClickDue);
    if (remaining > 0) {
        host.armSingleClickTimer(remaining);
        return;
    }
    // Cleared before running, so the owner may schedule or cancel from inside the callback.
    const std::function<void()> action = std::exchange(pendingSingleClick, nullptr);
    action();
}

void CardInteraction::scheduleSingleClick(std::function<void()> action) {
    cancelSingleClick();
    pendingSingleClick = std::move(action);
    singleClickDue =
        clock.now() + std::chrono::duration_cast<Instant::duration>(std::chrono::duration<double>(singleClickDelay));
    host.armSingleClickTimer(singleClickDelay);
}

void CardInteraction::cancelSingleClick() {
    if (!pendingSingleClick) return;
    pendingSingleClick = nullptr;
    host.cancelSingleClickTimer();
}

std::optional<DockSide> CardInteraction::sideFor(const Rect& frame, double tolerance) const {
    const Rect visible = DockGeometry::visibleFrame(frame, host.screens());
    return DockGeometry::dockSide(frame, visible, tolerance);
}

} // namespace glimmer
