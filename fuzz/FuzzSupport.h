#pragma once

#include "model/Clock.h"
#include "model/MarketRecords.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace glimmer::fuzz {

inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

/// A fixed instant, so a crash reproduces from its input alone.
inline const Instant stamp = Instant{} + std::chrono::hours(480000);

/// Ends the run as a finding: libFuzzer keeps the input that broke the rule.
[[noreturn]] inline void fail(const char* rule) {
    std::fprintf(stderr, "fuzz rule broken: %s\n", rule);
    std::abort();
}

inline void expect(bool holds, const char* rule) {
    if (!holds) fail(rule);
}

inline void expectFinite(double value, const char* what) {
    if (!std::isfinite(value)) fail(what);
}

inline void checkQuote(const Quote& q) {
    for (double v : {q.price, q.prevClose, q.open, q.high, q.low, q.volume, q.amount}) {
        expectFinite(v, "quote numbers are finite");
    }
    expectFinite(q.change(), "quote change is finite");
    expectFinite(q.changePercent(), "quote change percent is finite");
}

inline void checkMinute(const MinuteBar& m) {
    for (double v : {m.price, m.avg, m.volume, m.amount}) expectFinite(v, "minute numbers are finite");
    expect(m.volume >= 0, "minute volume is never negative");
}

inline void checkFlow(const FlowPoint& p) {
    expectFinite(p.main, "flow main is finite");
    expectFinite(p.retail, "flow retail is finite");
}

inline void checkBar(const DailyBar& b) {
    for (double v : {b.open, b.close, b.high, b.low, b.volume}) expectFinite(v, "day bar numbers are finite");
}

} // namespace glimmer::fuzz
