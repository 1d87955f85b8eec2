#pragma once

#include "model/ChartView.h"

#include <optional>
#include <vector>

namespace glimmer {

/// The rules for stepping through the enabled charts in dot order. Shared by the card and the
/// presenter so both walk the same sequence.
namespace ViewSequence {

/// `ChartViews::order` filtered to the members of `enabledViews`; all of it when `enabledViews` is empty.
std::vector<ChartView> enabledSequence(const std::vector<ChartView>& enabledViews);

/// The view after `view`, wrapping to the first; the first when `view` is not in the sequence.
ChartView nextView(ChartView view, const std::vector<ChartView>& sequence);

/// The view after `view` without wrapping: none after the last one.
std::optional<ChartView> viewAfter(ChartView view, const std::vector<ChartView>& sequence);

/// `delta` steps from `current` (the first position when absent), wrapping both ways.
std::optional<ChartView> stepView(ChartView current, const std::vector<ChartView>& sequence, int delta);

} // namespace ViewSequence
} // namespace glimmer
