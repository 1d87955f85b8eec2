#pragma once

#include "model/MarketEntry.h"

#include <QImage>

class QWidget;

namespace glimmer::samples {

/// A watched stock after a full trading day: quote, 241 minutes, fund flow and 120 daily candles.
MarketEntry cardEntry(bool closesUp = true);

/// The same stock held: 300 shares bought at 1,400.50 yuan.
MarketEntry heldEntry(bool closesUp = true);

inline constexpr int panelWidth = 376;
inline constexpr int panelHeight = 242;

/// A widget (a card, or a panel with its shadow) as it is now, at `ratio` device pixels per point.
QImage renderWidget(QWidget& widget, double ratio);

} // namespace glimmer::samples
