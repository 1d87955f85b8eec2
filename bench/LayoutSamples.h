#pragma once

#include "model/MarketEntry.h"

#include <vector>

namespace glimmer::samples {

/// `count` watched securities after a full trading day, each with its own code, name and price
/// level (a liquor stock, banks, an ETF, ...), rising and falling in turn: what the layout
/// benchmarks and the layout pictures show.
std::vector<MarketEntry> watchList(std::size_t count);

} // namespace glimmer::samples
