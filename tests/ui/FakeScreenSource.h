#pragma once

#include "card/ScreenSource.h"

namespace glimmer::testing {

/// Displays given by the test, in Qt's global coordinates, the primary one first.
class FakeScreenSource final : public ScreenSource {
public:
    explicit FakeScreenSource(std::vector<ScreenGeometry> displays) : displays(std::move(displays)) {}
    std::vector<ScreenGeometry> screens() const override { return displays; }
    std::vector<ScreenGeometry> displays;
};

} // namespace glimmer::testing
