#include "FuzzSupport.h"
#include "market/QuoteBatch.h"

using namespace glimmer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytes(data, size);
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
    return 0;
}
