#pragma once

#include "card/ScreenSource.h"

namespace glimmer {

/// The displays QGuiApplication knows, the primary one first.
class QtScreenSource final : public ScreenSource {
public:
    std::vector<ScreenGeometry> screens() const override;
};

} // namespace glimmer
