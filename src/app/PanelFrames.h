#pragma once

#include "card/ScreenRect.h"
#include "model/AppConfig.h"

#include <vector>

namespace glimmer {

/// Where the main panel stands: frames computed from the configuration and the screens.
namespace PanelFrames {

/// The card's left gutter and top strip make the panel this much wider and taller than the card.
inline constexpr double chromeSize = 26;

/// The main screen's visible frame; (0, 0, 1440, 900) without screens.
Rect mainVisibleFrame(const std::vector<Screen>& screens);

/// The panel of a configured card size at the default corner: 16 from the right edge, 12 from the
/// bottom of the main screen's visible frame.
Rect defaultCornerFrame(double cardWidth, double cardHeight, const std::vector<Screen>& screens);

/// The frame at launch: the saved origin (or the corner), docked when pinned to a side, back in
/// the corner when it would lie off every screen.
Rect startFrame(const AppConfig& config, const std::vector<Screen>& screens);

/// A new card size that keeps the panel's right and bottom edges where they were.
Rect resizedFrame(const Rect& old, double cardWidth, double cardHeight);

/// "左侧" or "右侧".
const char* sideName(DockSide side);

} // namespace PanelFrames
} // namespace glimmer
