#include "market/FetchContext.h"

#include <cstdio>

namespace glimmer {

namespace {

Endpoints endpointsFrom(const std::optional<std::string>& file) {
    Endpoints endpoints;
    if (!file || file->empty()) return endpoints;
    std::string error;
    if (!Endpoints::fromFile(*file, endpoints, error)) {
        std::fprintf(stderr, "GLIMMERBOX_ENDPOINTS: %s: %s; using the built-in endpoints\n", file->c_str(),
                     error.c_str());
        return Endpoints{};
    }
    return endpoints;
}

} // namespace

FetchContext FetchContext::fromEnvironment(MarketAPI& http, SourceHealth& health, const Clock& clock,
                                           const Environment& environment) {
    const auto isOn = [&environment](const char* name) { return environment(name) == "1"; };
    FetchContext context{http, health, clock, endpointsFrom(environment("GLIMMERBOX_ENDPOINTS"))};
    context.switches.forceQQIntraday = isOn("GLIMMERBOX_FORCE_QQ_INTRADAY");
    context.switches.forceQQFlow = isOn("GLIMMERBOX_FORCE_QQ_FLOW");
    context.switches.forceSinaDaily = environment("GLIMMERBOX_FORCE_SINA_K").has_value();
    context.switches.traceRefresh = environment("GLIMMERBOX_REFRESH_TRACE").has_value();
    return context;
}

} // namespace glimmer
