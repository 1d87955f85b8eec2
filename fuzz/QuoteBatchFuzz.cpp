#include "FuzzSupport.h"
#include "market/QuoteBatch.h"

void glimmer::fuzz::check(std::string_view text) {
    for (const auto& [symbol, payload] : QuoteBatch::records(text)) {
        fuzz::expect(!symbol.empty() && !payload.empty(), "records have a symbol and a payload");
    }
    for (const auto& [code, quote] : QuoteBatch::parse(text, fuzz::stamp)) {
        fuzz::expect(code == quote.code, "records are keyed by their code");
        fuzz::expect(!quote.name.empty(), "a record without a name is dropped");
        fuzz::checkQuote(quote);
    }
    (void)QuoteBatch::tradeDate(text);
    (void)QuoteBatch::quoteTime(text);
}
