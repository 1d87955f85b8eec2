#include "FuzzSupport.h"
#include "market/DailyKline.h"

using namespace glimmer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytes(data, size);
    ReplyJson json;
    (void)json.parse(text);
    for (const std::string& symbol : fuzz::dataSymbols(json)) {
        const auto reply = DailyKline::parseTencent(text, symbol);
        fuzz::expect(reply.isUsable || reply.bars.empty(), "only a usable reply yields candles");
        for (const auto& bar : reply.bars) fuzz::checkBar(bar);
    }
    return 0;
}
