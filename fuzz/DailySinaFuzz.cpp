#include "FuzzSupport.h"
#include "market/DailyKline.h"

void glimmer::fuzz::check(std::string_view text) {
    for (const auto& bar : DailyKline::parseSina(text)) fuzz::checkBar(bar);
}
