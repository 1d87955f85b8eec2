#include "model/Indicators.h"

namespace glimmer::Indicators {

std::vector<std::optional<double>> ma(const std::vector<double>& values, int period) {
    std::vector<std::optional<double>> out(values.size());
    if (period < 1 || static_cast<std::size_t>(period) > values.size()) return out;
    const auto p = static_cast<std::size_t>(period);
    double sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        sum += values[i];
        if (i >= p) sum -= values[i - p];
        if (i + 1 >= p) out[i] = sum / period;
    }
    return out;
}

std::vector<double> ema(const std::vector<double>& values, int period) {
    if (values.empty() || period < 1) return {};
    const double k = 2.0 / (period + 1);
    std::vector<double> out(values.size());
    out[0] = values[0];
    for (std::size_t i = 1; i < values.size(); ++i) out[i] = k * values[i] + (1 - k) * out[i - 1];
    return out;
}

MACDResult macd(const std::vector<double>& values, int fast, int slow, int signal) {
    MACDResult result;
    if (values.empty()) return result;
    const auto fastLine = ema(values, fast);
    const auto slowLine = ema(values, slow);
    // A period below 1 gives no line; treat the missing line as absent data, not as a crash.
    if (fastLine.size() != values.size() || slowLine.size() != values.size()) return result;
    result.dif.resize(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) result.dif[i] = fastLine[i] - slowLine[i];
    result.dea = ema(result.dif, signal);
    if (result.dea.size() != values.size()) return MACDResult{};
    result.hist.resize(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) result.hist[i] = (result.dif[i] - result.dea[i]) * 2;
    return result;
}

} // namespace glimmer::Indicators
