#include "model/AlertEvent.h"

#include <array>
#include <utility>

namespace glimmer {

namespace {

constexpr std::array<std::pair<AlertKind, const char*>, 7> kindNames{{
    {AlertKind::priceBelow, "priceBelow"},
    {AlertKind::priceAbove, "priceAbove"},
    {AlertKind::fastRise, "fastRise"},
    {AlertKind::fastDrop, "fastDrop"},
    {AlertKind::scissors, "scissors"},
    {AlertKind::mainFalling, "mainFalling"},
    {AlertKind::maTouch, "maTouch"},
}};

} // namespace

const char* rawValue(AlertKind kind) {
    for (const auto& [k, name] : kindNames) {
        if (k == kind) return name;
    }
    return "priceBelow";
}

std::optional<AlertKind> alertKindFromRaw(const std::string& raw) {
    for (const auto& [k, name] : kindNames) {
        if (raw == name) return k;
    }
    return std::nullopt;
}

} // namespace glimmer
