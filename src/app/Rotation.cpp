#include "app/Rotation.h"

#include <algorithm>

namespace glimmer::Rotation {

bool isHidden(const MarketEntry& entry, const std::vector<std::string>& hiddenCodes) {
    return std::find(hiddenCodes.begin(), hiddenCodes.end(), entry.item.code) != hiddenCodes.end();
}

std::vector<int> visibleIndices(const std::vector<MarketEntry>& entries, const std::vector<std::string>& hiddenCodes) {
    std::vector<int> result;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!isHidden(entries[i], hiddenCodes)) result.push_back(static_cast<int>(i));
    }
    return result;
}

int clampedIndex(int current, std::size_t count) {
    const int n = static_cast<int>(count);
    if (current >= n) return std::max(n, 1) - 1;
    return current;
}

int indexSkippingHidden(int current, const std::vector<MarketEntry>& entries,
                        const std::vector<std::string>& hiddenCodes) {
    const int n = static_cast<int>(entries.size());
    if (n == 0) return 0;
    if (current < 0 || current >= n) current = 0;
    if (!isHidden(entries[current], hiddenCodes)) return current;
    for (int k = 1; k <= n; ++k) {
        const int candidate = (current + k) % n;
        if (!isHidden(entries[candidate], hiddenCodes)) return candidate;
    }
    return current;
}

int visiblePosition(const std::string& code, const std::vector<MarketEntry>& entries,
                    const std::vector<std::string>& hiddenCodes) {
    const std::vector<int> visible = visibleIndices(entries, hiddenCodes);
    for (std::size_t p = 0; p < visible.size(); ++p) {
        if (entries[visible[p]].item.code == code) return static_cast<int>(p);
    }
    return 0;
}

std::optional<int> switchTarget(int current, int delta, const std::vector<MarketEntry>& entries,
                                const std::vector<std::string>& hiddenCodes) {
    const std::vector<int> visible = visibleIndices(entries, hiddenCodes);
    const int m = static_cast<int>(visible.size());
    const int n = static_cast<int>(entries.size());
    if (m == 0 || n == 0) return std::nullopt;
    const int onCard = std::clamp(current, 0, n - 1);
    const int p = visiblePosition(entries[onCard].item.code, entries, hiddenCodes);
    // Reduced first, so a large delta cannot overflow or land on a negative remainder.
    const int target = visible[(((p + delta % m) % m) + m) % m];
    const std::string& code = entries[target].item.code;
    // The first store entry with that code, as the card finds it by code.
    for (int i = 0; i < n; ++i) {
        if (entries[i].item.code == code) return i == current ? std::nullopt : std::optional<int>(i);
    }
    return std::nullopt;
}

ChartView startView(std::optional<ChartView> lockedView, ChartView current, const std::vector<ChartView>& sequence) {
    if (lockedView) return *lockedView;
    if (std::find(sequence.begin(), sequence.end(), current) != sequence.end()) return current;
    return sequence.empty() ? ChartViews::order.front() : sequence.front();
}

std::optional<ChartView> effectiveLock(std::optional<ChartView> lockedView, const std::vector<ChartView>& sequence) {
    if (!lockedView) return std::nullopt;
    if (std::find(sequence.begin(), sequence.end(), *lockedView) == sequence.end()) return std::nullopt;
    return lockedView;
}

} // namespace glimmer::Rotation
