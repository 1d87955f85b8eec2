#pragma once

#include "model/ChartView.h"
#include "model/MarketEntry.h"

#include <optional>
#include <string>
#include <vector>

namespace glimmer {

/// Which security and which chart the card shows: decisions over a snapshot of the store's entries
/// and the hidden codes, free of windows and timers.
namespace Rotation {

inline constexpr const char* allHiddenPlaceholder = "股票池已全部隐藏（设置里可恢复）";

bool isHidden(const MarketEntry& entry, const std::vector<std::string>& hiddenCodes);

/// Indices into `entries` of the securities that are not hidden, in store order.
std::vector<int> visibleIndices(const std::vector<MarketEntry>& entries, const std::vector<std::string>& hiddenCodes);

/// An index at or past the end moves to the last entry (0 for none).
int clampedIndex(int current, std::size_t count);

/// `current` moved forward, wrapping, to the first security that is not hidden; 0 without entries
/// or when out of range; unchanged when every security is hidden.
int indexSkippingHidden(int current, const std::vector<MarketEntry>& entries,
                        const std::vector<std::string>& hiddenCodes);

/// The store index `delta` visible securities away from the one on the card, or none when there is
/// nowhere else to go.
std::optional<int> switchTarget(int current, int delta, const std::vector<MarketEntry>& entries,
                                const std::vector<std::string>& hiddenCodes);

/// Position of the card's security among the visible ones (0 when not among them).
int visiblePosition(const std::string& code, const std::vector<MarketEntry>& entries,
                    const std::vector<std::string>& hiddenCodes);

/// The view a card starts on: the locked view, else `current` when it is in the sequence, else the
/// sequence's first view (the intraday chart for an empty sequence).
ChartView startView(std::optional<ChartView> lockedView, ChartView current, const std::vector<ChartView>& sequence);

/// A lock on a view outside the sequence is dropped.
std::optional<ChartView> effectiveLock(std::optional<ChartView> lockedView, const std::vector<ChartView>& sequence);

} // namespace Rotation
} // namespace glimmer
