#include "card/ViewSequence.h"

#include <algorithm>

namespace glimmer::ViewSequence {

namespace {

std::optional<std::size_t> position(ChartView view, const std::vector<ChartView>& sequence) {
    const auto it = std::find(sequence.begin(), sequence.end(), view);
    if (it == sequence.end()) return std::nullopt;
    return std::size_t(it - sequence.begin());
}

} // namespace

std::vector<ChartView> enabledSequence(const std::vector<ChartView>& enabledViews) {
    std::vector<ChartView> result;
    for (const ChartView view : ChartViews::order) {
        if (enabledViews.empty() || std::find(enabledViews.begin(), enabledViews.end(), view) != enabledViews.end()) {
            result.push_back(view);
        }
    }
    return result;
}

ChartView nextView(ChartView view, const std::vector<ChartView>& sequence) {
    if (sequence.empty()) return ChartViews::order.front();
    const auto p = position(view, sequence);
    if (!p) return sequence.front();
    return sequence[(*p + 1) % sequence.size()];
}

std::optional<ChartView> viewAfter(ChartView view, const std::vector<ChartView>& sequence) {
    if (sequence.empty()) return std::nullopt;
    const auto p = position(view, sequence);
    if (!p) return sequence.front();
    if (*p + 1 >= sequence.size()) return std::nullopt;
    return sequence[*p + 1];
}

std::optional<ChartView> stepView(ChartView current, const std::vector<ChartView>& sequence, int delta) {
    if (sequence.empty()) return std::nullopt;
    const long long n = static_cast<long long>(sequence.size());
    const long long p = static_cast<long long>(position(current, sequence).value_or(0));
    // The double modulo keeps large negative deltas in range as well.
    const long long k = ((p + delta) % n + n) % n;
    return sequence[std::size_t(k)];
}

} // namespace glimmer::ViewSequence
