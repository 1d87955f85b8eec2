#pragma once

#include "model/Clock.h"

#include <atomic>

namespace glimmer {

/// A clock that moves only when told to; the local zone is a fixed offset from UTC.
/// Safe to read from several threads while one thread advances it.
class ManualClock final : public Clock {
public:
    explicit ManualClock(Instant start = Instant{}, int localUtcOffsetSeconds = 8 * 3600);

    Instant now() const override;
    CivilTime localTime(Instant instant) const override;

    void set(Instant instant);
    void advance(double seconds);
    /// Sets the time to a wall-clock time on the exchange's clock (UTC+8).
    void setChinaTime(int year, int month, int day, int hour, int minute, int second = 0);
    void setLocalUtcOffset(int seconds);

private:
    std::atomic<long long> nanos;
    std::atomic<int> localOffset;
};

} // namespace glimmer
