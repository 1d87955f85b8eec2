#pragma once

#include "card/CardLayout.h"
#include "card/HoldingStrip.h"
#include "model/MarketEntry.h"

#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;

namespace glimmer {

/// Painting of the card's own parts, each from the layout and a few values.
namespace CardPainter {

void body(QPainter& painter, const CardLayout& layout, bool isDark);
void placeholder(QPainter& painter, const CardLayout& layout, const std::optional<std::string>& text, bool isDark);
/// Pin, name, code, lock label and, with a quote, price, change line, time and divider.
void header(QPainter& painter, const CardLayout& layout, const MarketEntry& entry, std::optional<ChartView> lockedView,
            bool pinPaused, bool isDark);
/// The holdings strip of the entry's position on the header's second line (between the change line
/// and the time) or in the footer left of the dots; none without figures or room.
std::optional<HoldingStrip::Placed> holdingsStrip(const CardLayout& layout, const MarketEntry& entry,
                                                  std::size_t dotCount, bool privacy, const QPaintDevice* device);
/// One dot per view; the shown one bright and the locked one ringed.
void dots(QPainter& painter, const CardLayout& layout, const std::vector<ChartView>& views, ChartView current,
          std::optional<ChartView> lockedView, bool isDark);
void counter(QPainter& painter, const CardLayout& layout, int index, int total, bool isDark);
void banner(QPainter& painter, const CardLayout& layout, const std::string& message, bool isDark);
void dockPreview(QPainter& painter, const CardLayout& layout, DockSide side);
/// The alert border at `alpha` of the alert colour.
void glow(QPainter& painter, const CardLayout& layout, double alpha, bool isDark);

} // namespace CardPainter
} // namespace glimmer
