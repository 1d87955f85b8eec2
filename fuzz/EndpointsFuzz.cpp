#include "FuzzSupport.h"
#include "market/Endpoints.h"

void glimmer::fuzz::check(std::string_view text) {
    const auto file = fuzz::scratchDir() / "endpoints.json";
    fuzz::writeBytes(file, text);

    Endpoints endpoints;
    std::string error;
    if (Endpoints::fromFile(file, endpoints, error)) {
        for (const std::string* origin :
             {&endpoints.eastmoneyHistory, &endpoints.tencentSnapshot, &endpoints.sinaQuotes}) {
            (void)Endpoints::hostKey(*origin);
        }
    } else {
        fuzz::expect(!error.empty(), "a rejected file says why");
        fuzz::expect(endpoints == Endpoints{}, "a rejected file leaves the endpoints as they were");
    }
    (void)Endpoints::hostKey(std::string(text));
}
