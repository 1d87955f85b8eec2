#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glimmer {

/// A 128-bit identifier written as the standard 36-character form in upper case.
struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    /// A random (version 4) identifier.
    static Uuid random();
    /// Reads "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" in any letter case.
    static std::optional<Uuid> parse(std::string_view text);
    std::string string() const;

    bool operator==(const Uuid&) const = default;
};

} // namespace glimmer
