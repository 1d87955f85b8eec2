#include "FuzzSupport.h"
#include "market/DailyKline.h"

using namespace glimmer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const auto& bar : DailyKline::parseSina(fuzz::bytes(data, size))) fuzz::checkBar(bar);
    return 0;
}
