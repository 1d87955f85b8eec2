#pragma once

#include <vector>

namespace glimmer {

/// The alert rules' reference cases (stock 002003, default rules): the program's self-test runs
/// them and so do the unit tests, from this one table.
struct AlertScenario {
    const char* label;
    bool (*passes)();
};

const std::vector<AlertScenario>& alertScenarios();

} // namespace glimmer
