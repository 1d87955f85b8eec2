#include "FuzzSupport.h"
#include "market/EastmoneyFlow.h"

using namespace glimmer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto reply = EastmoneyFlow::parse(fuzz::bytes(data, size));
    fuzz::expect(reply.isUsable || reply.points.empty(), "only a usable reply yields points");
    for (const auto& point : reply.points) fuzz::checkFlow(point);
    return 0;
}
