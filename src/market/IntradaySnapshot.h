#pragma once

#include "model/MarketRecords.h"

#include <vector>

namespace glimmer {

/// Today's minutes of one security with a quote built from the same reply; the store uses the quote
/// whenever the batch snapshot has none.
struct IntradaySnapshot {
    Quote quote;
    std::vector<MinuteBar> minutes; // oldest first

    bool operator==(const IntradaySnapshot&) const = default;
};

} // namespace glimmer
