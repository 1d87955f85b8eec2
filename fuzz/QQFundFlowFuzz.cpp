#include "FuzzSupport.h"
#include "market/QQFundFlow.h"

void glimmer::fuzz::check(std::string_view text) {
    ReplyJson json;
    (void)json.parse(text);
    for (const auto& point : QQFundFlow::parseMinutes(json)) fuzz::checkFlow(point);
}
