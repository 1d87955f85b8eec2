#include "FuzzSupport.h"
#include "market/Endpoints.h"
#include "market/SymbolSearch.h"

void glimmer::fuzz::check(std::string_view text) {
    (void)SymbolSearch::parse(text);
    (void)SymbolSearch::decodeEscapes(text);
    // The query side takes user text: any bytes give a URL or nothing, never a crash.
    (void)SymbolSearch::url(Endpoints{}, text);
}
