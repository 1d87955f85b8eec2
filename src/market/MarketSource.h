#pragma once

#include "market/FetchContext.h"
#include "market/IntradaySnapshot.h"
#include "model/MarketRecords.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace glimmer {

/// The four fetchers a refresh pass calls. `live` binds the real provider fetchers to a fetch
/// context; tests of the scheduling rules may bind recorders instead.
struct MarketSource {
    std::function<std::map<std::string, Quote>(const std::vector<WatchItem>& items)> fetchQuotesBatch;
    std::function<std::optional<IntradaySnapshot>(const std::string& secid, const std::string& code,
                                                  const std::string& fallbackName)>
        fetchIntraday;
    std::function<std::vector<FlowPoint>(const std::string& secid, const std::string& symbol)> fetchFlow;
    std::function<std::vector<DailyBar>(const std::string& symbol, int count)> fetchDaily;

    static MarketSource live(const FetchContext& context);
};

} // namespace glimmer
