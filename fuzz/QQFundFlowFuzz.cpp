#include "FuzzSupport.h"
#include "market/QQFundFlow.h"

using namespace glimmer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReplyJson json;
    (void)json.parse(fuzz::bytes(data, size));
    for (const auto& point : QQFundFlow::parseMinutes(json)) fuzz::checkFlow(point);
    return 0;
}
