#pragma once

#include <chrono>

namespace glimmer {

using Instant = std::chrono::system_clock::time_point;

/// Calendar fields of an instant in one time zone.
struct CivilTime {
    int year = 1970;
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 4; // 0 = Sunday .. 6 = Saturday
};

/// Source of the current instant and of local calendar fields. Injected everywhere time matters so
/// that time-to-live gates, cool-downs and trading hours can be tested without sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Instant now() const = 0;
    /// Calendar fields in the machine's time zone (log time stamps).
    virtual CivilTime localTime(Instant instant) const = 0;

    /// Calendar fields on the exchange's clock: China Standard Time, UTC+8 all year.
    static CivilTime chinaTime(Instant instant);
    /// Calendar fields at a fixed offset from UTC.
    static CivilTime civilTimeAtOffset(Instant instant, int utcOffsetSeconds);
    /// The instant of a wall-clock time at a fixed offset from UTC.
    static Instant instantAtOffset(const CivilTime& time, int utcOffsetSeconds);

    /// The process-wide real clock.
    static const Clock& system();
};

/// Seconds between two instants as a floating-point number.
double secondsBetween(Instant from, Instant to);

} // namespace glimmer
