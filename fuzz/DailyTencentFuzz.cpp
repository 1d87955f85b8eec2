#include "FuzzSupport.h"
#include "market/DailyKline.h"

void glimmer::fuzz::check(std::string_view text) {
    ReplyJson json;
    (void)json.parse(text);
    for (const std::string& symbol : fuzz::dataSymbols(json)) {
        const auto reply = DailyKline::parseTencent(text, symbol);
        fuzz::expect(reply.isUsable || reply.bars.empty(), "only a usable reply yields candles");
        for (const auto& bar : reply.bars) fuzz::checkBar(bar);
    }
}
