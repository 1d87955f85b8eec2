#pragma once

#include "model/Clock.h"

namespace glimmer {

/// The machine's real time and time zone.
class SystemClock final : public Clock {
public:
    Instant now() const override;
    CivilTime localTime(Instant instant) const override;
};

} // namespace glimmer
