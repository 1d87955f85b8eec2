#pragma once

#include <array>
#include <optional>
#include <vector>

namespace glimmer {

/// The order of the card's charts and the rules for stepping through the enabled ones. Shared by the
/// card and the presenter so both walk the same sequence.
namespace ViewSequence {

/// Chart indices in dot and rotation order: volume comes before the daily candles.
inline constexpr std::array<int, 5> viewOrder{0, 1, 2, 4, 3};

/// The header label of a chart index ("分时", "MACD", "资金流", "日K", "量能"); empty when unknown.
const char* label(int view);

/// `viewOrder` filtered to the members of `enabledViews`; all of it when `enabledViews` is empty.
std::vector<int> enabledViewIndices(const std::vector<int>& enabledViews);

/// The view after `mode`, wrapping to the first; the first when `mode` is not in the sequence.
int nextEnabledMode(int mode, const std::vector<int>& sequence);

/// The view after `mode` without wrapping: none after the last one.
std::optional<int> modeAfterCurrent(int mode, const std::vector<int>& sequence);

/// `delta` steps from `current` (the first position when absent), wrapping both ways.
std::optional<int> stepMode(int current, const std::vector<int>& indices, int delta);

} // namespace ViewSequence
} // namespace glimmer
