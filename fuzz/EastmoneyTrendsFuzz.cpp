#include "FuzzSupport.h"
#include "market/EastmoneyTrends.h"

void glimmer::fuzz::check(std::string_view text) {
    const auto reply = EastmoneyTrends::parse(text, "600519", "自选名", fuzz::stamp);
    if (reply.snapshot) {
        fuzz::expect(reply.isUsable, "only a usable reply yields minutes");
        fuzz::checkQuote(reply.snapshot->quote);
        for (const auto& minute : reply.snapshot->minutes) fuzz::checkMinute(minute);
    }
}
