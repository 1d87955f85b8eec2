#pragma once

#include "model/Clock.h"

#include <optional>
#include <string>

namespace glimmer {

enum class AlertKind { priceBelow, priceAbove, fastRise, fastDrop, scissors, mainFalling, maTouch };

const char* rawValue(AlertKind kind);
std::optional<AlertKind> alertKindFromRaw(const std::string& raw);

/// One fired alert: which rule, for which security, the Chinese one-line text and when it fired.
struct AlertEvent {
    AlertKind kind = AlertKind::priceBelow;
    std::string code{};
    std::string name{};
    std::string message{};
    Instant firedAt{};

    bool operator==(const AlertEvent&) const = default;
};

} // namespace glimmer
