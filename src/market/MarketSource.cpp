#include "market/MarketSource.h"

#include "market/DailyKline.h"
#include "market/EastmoneyFlow.h"
#include "market/EastmoneyTrends.h"
#include "market/QuoteBatch.h"

namespace glimmer {

MarketSource MarketSource::live(const FetchContext& context) {
    MarketSource source;
    source.fetchQuotesBatch = [context](const std::vector<WatchItem>& items) {
        return QuoteBatch::fetch(items, context);
    };
    source.fetchIntraday = [context](const std::string& secid, const std::string& code,
                                     const std::string& fallbackName) {
        return EastmoneyTrends::fetchIntraday(secid, code, fallbackName, context);
    };
    source.fetchFlow = [context](const std::string& secid, const std::string& symbol) {
        return EastmoneyFlow::fetchFlow(secid, symbol, context);
    };
    source.fetchDaily = [context](const std::string& symbol, int count) {
        return DailyKline::fetchDaily(symbol, count, context);
    };
    return source;
}

} // namespace glimmer
