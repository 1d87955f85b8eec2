#include "FuzzSupport.h"
#include "market/EastmoneyTrends.h"

using namespace glimmer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto reply = EastmoneyTrends::parse(fuzz::bytes(data, size), "600519", "自选名", fuzz::stamp);
    if (reply.snapshot) {
        fuzz::expect(reply.isUsable, "only a usable reply yields minutes");
        fuzz::checkQuote(reply.snapshot->quote);
        for (const auto& minute : reply.snapshot->minutes) fuzz::checkMinute(minute);
    }
    return 0;
}
