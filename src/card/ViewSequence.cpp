#include "card/ViewSequence.h"

#include <algorithm>

namespace glimmer::ViewSequence {

namespace {

std::optional<std::size_t> position(int view, const std::vector<int>& sequence) {
    const auto it = std::find(sequence.begin(), sequence.end(), view);
    if (it == sequence.end()) return std::nullopt;
    return std::size_t(it - sequence.begin());
}

} // namespace

const char* label(int view) {
    switch (view) {
    case 0:
        return "分时";
    case 1:
        return "MACD";
    case 2:
        return "资金流";
    case 3:
        return "日K";
    case 4:
        return "量能";
    default:
        return "";
    }
}

std::vector<int> enabledViewIndices(const std::vector<int>& enabledViews) {
    std::vector<int> result;
    for (int view : viewOrder) {
        if (enabledViews.empty() || std::find(enabledViews.begin(), enabledViews.end(), view) != enabledViews.end()) {
            result.push_back(view);
        }
    }
    return result;
}

int nextEnabledMode(int mode, const std::vector<int>& sequence) {
    if (sequence.empty()) return 0;
    const auto p = position(mode, sequence);
    if (!p) return sequence.front();
    return sequence[(*p + 1) % sequence.size()];
}

std::optional<int> modeAfterCurrent(int mode, const std::vector<int>& sequence) {
    if (sequence.empty()) return std::nullopt;
    const auto p = position(mode, sequence);
    if (!p) return sequence.front();
    if (*p + 1 >= sequence.size()) return std::nullopt;
    return sequence[*p + 1];
}

std::optional<int> stepMode(int current, const std::vector<int>& indices, int delta) {
    if (indices.empty()) return std::nullopt;
    const long long n = static_cast<long long>(indices.size());
    const long long p = static_cast<long long>(position(current, indices).value_or(0));
    // The double modulo keeps large negative deltas in range as well.
    const long long k = ((p + delta) % n + n) % n;
    return indices[std::size_t(k)];
}

} // namespace glimmer::ViewSequence
