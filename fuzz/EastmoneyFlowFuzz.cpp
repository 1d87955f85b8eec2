#include "FuzzSupport.h"
#include "market/EastmoneyFlow.h"

void glimmer::fuzz::check(std::string_view text) {
    const auto reply = EastmoneyFlow::parse(text);
    fuzz::expect(reply.isUsable || reply.points.empty(), "only a usable reply yields points");
    for (const auto& point : reply.points) fuzz::checkFlow(point);
}
