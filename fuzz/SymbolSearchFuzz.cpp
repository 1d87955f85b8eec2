#include "FuzzSupport.h"
#include "market/Endpoints.h"
#include "market/SymbolSearch.h"

using namespace glimmer;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytes(data, size);
    (void)SymbolSearch::parse(text);
    (void)SymbolSearch::decodeEscapes(text);
    // The query side takes user text: any bytes give a URL or nothing, never a crash.
    (void)SymbolSearch::url(Endpoints{}, text);
    return 0;
}
