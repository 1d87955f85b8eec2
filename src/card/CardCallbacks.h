#pragma once

#include "model/AppConfig.h"

#include <QSizeF>

#include <functional>
#include <optional>
#include <utility>

class QMouseEvent;

namespace glimmer {

/// What the card reports to its owner. Every callback is optional and called on the main thread.
struct CardCallbacks {
    std::function<void(int delta)> onSwitchStock;
    std::function<void(ChartView view)> onSwitchView;
    std::function<void()> onFocusRequest;
    std::function<void()> onClose;
    std::function<void()> onToggleExpand;
    std::function<void()> onToggleOverview;
    /// The secondary press; the owner builds and shows the menu while the event is alive.
    std::function<void(QMouseEvent& event)> onContextMenu;
    std::function<void()> onPinToggle;
    std::function<void(ChartView view)> onLockToggle;
    std::function<void(double opacity)> onOpacityChange;
    std::function<void()> onOpacityCommit;
    /// The card size (the panel less its gutter and strip) while an edge is dragged.
    std::function<void(QSizeF cardSize)> onResize;
    std::function<void()> onResizeCommit;
    std::function<void(bool isHovering)> onHoverChange;
    /// The side the released panel should dock to, or none.
    std::function<void(std::optional<DockSide> side)> onDragEnd;
};

/// Calls `callback` when it is set.
template <typename Callback, typename... Args> void notify(const Callback& callback, Args&&... args) {
    if (callback) callback(std::forward<Args>(args)...);
}

} // namespace glimmer
