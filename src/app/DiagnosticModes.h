#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace glimmer {

/// The environment switches that start a diagnostic mode instead of the application.
namespace DiagnosticModes {

/// The switches in the order they are tested.
const std::vector<std::string>& switches();

/// The first switch whose value is exactly "1".
std::optional<std::string> firstSwitchOn(const std::function<std::optional<std::string>(const char*)>& env);

} // namespace DiagnosticModes
} // namespace glimmer
