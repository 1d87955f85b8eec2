#pragma once

#include <optional>
#include <vector>

namespace glimmer {

struct MACDResult {
    std::vector<double> dif;
    std::vector<double> dea;
    std::vector<double> hist;
};

/// Pure indicator functions over series in time order, oldest first.
namespace Indicators {

/// Simple moving average; the first period - 1 elements are absent, and all are when the period
/// does not fit the series.
std::vector<std::optional<double>> ma(const std::vector<double>& values, int period);
/// Exponential moving average seeded with the first value; empty for empty input or period < 1.
std::vector<double> ema(const std::vector<double>& values, int period);
/// MACD lines; every line starts at exactly 0 because each EMA is seeded with its first value.
MACDResult macd(const std::vector<double>& values, int fast = 12, int slow = 26, int signal = 9);

} // namespace Indicators

} // namespace glimmer
