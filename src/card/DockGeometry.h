#pragma once

#include "card/ScreenRect.h"
#include "model/AppConfig.h"

#include <optional>
#include <vector>

namespace glimmer {

/// Screen arithmetic behind edge docking. Screen lists are ordered with the main screen first.
namespace DockGeometry {

/// A released panel docks when its nearer side gap is at most this.
inline constexpr double snapTolerance = 36;
/// The dock preview shows while dragging within this gap, before a release would dock.
inline constexpr double previewTolerance = 52;
/// Used when there is no screen at all.
inline constexpr Rect fallbackVisibleFrame{0, 0, 1440, 900};

/// The visible frame of the screen that holds most of `frame`; the main screen's when it is on none.
Rect visibleFrame(const Rect& frame, const std::vector<Screen>& screens);

/// The side whose edge `frame` is within `tolerance` of (the nearer one; a tie docks left).
std::optional<DockSide> dockSide(const Rect& frame, const Rect& visible, double tolerance);

/// `frame` moved against the side's edge, keeping its height and (clamped) vertical position.
Rect dockedFrame(const Rect& frame, DockSide side, const Rect& visible);

/// `frame` moved inside `visible`; a larger frame is aligned to the left and bottom edges.
Rect clampedFrame(const Rect& frame, const Rect& visible);

/// True unless some screen's visible frame shows at least 40 x 40 points of `frame`.
bool isOffAllScreens(const Rect& frame, const std::vector<Screen>& screens);

} // namespace DockGeometry
} // namespace glimmer
