#include "market/MarketSource.h"

#include "market/DailyKline.h"
#include "market/EastmoneyFlow.h"
#include "market/EastmoneyTrends.h"
#include "market/MarketAPI.h"

namespace glimmer {

MarketSource MarketSource::live(const Clock& clock, SourceHealth& health) {
    const Clock* c = &clock;
    SourceHealth* h = &health;
    MarketSource source;
    source.fetchQuotesBatch = [c, h](const std::vector<WatchItem>& items) {
        return MarketAPI::shared().fetchQuotesBatch(items, *c, *h);
    };
    source.fetchIntraday = [c, h](const std::string& secid, const std::string& code, const std::string& fallbackName) {
        return EastmoneyTrends::fetchIntraday(secid, code, fallbackName, *c, *h);
    };
    source.fetchFlow = [c, h](const std::string& secid, const std::optional<std::string>& symbol) {
        return EastmoneyFlow::fetchFlow(secid, symbol, *c, *h);
    };
    source.fetchDaily = [c, h](const std::string& symbol, int count) {
        return DailyKline::fetchDaily(symbol, count, *c, *h);
    };
    return source;
}

} // namespace glimmer
