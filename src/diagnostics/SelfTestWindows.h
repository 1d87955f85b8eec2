#pragma once

#include "card/ScreenRect.h"
#include "model/MarketEntry.h"

#include <functional>
#include <string>
#include <vector>

class QPoint;
class QWidget;

namespace glimmer::SelfTestWindows {

/// Runs the event loop until `done` holds or `seconds` pass; whether it held.
bool waitUntil(const std::function<bool()>& done, double seconds);
/// A left click as the window system delivers it: to the child under `point` (controls that let
/// clicks through are skipped), in `root`'s coordinates.
void click(QWidget* root, const QPoint& point);
/// The pointer entering `view`, so its hover controls fade in.
void hover(QWidget* view);
/// Floating panels currently shown.
int visiblePanelCount();
/// The visible frame of the main display, or the fallback frame without one.
Rect mainVisibleFrame();
/// Securities with a quote and a short minute series, enough for cards to draw without a network.
std::vector<MarketEntry> sampleEntries(std::size_t count);
std::string originText(const Rect& frame);

} // namespace glimmer::SelfTestWindows
