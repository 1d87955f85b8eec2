#include "doubles/ManualClock.h"

namespace glimmer {

ManualClock::ManualClock(Instant start, int localUtcOffsetSeconds)
    : nanos(std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count()),
      localOffset(localUtcOffsetSeconds) {
}

Instant ManualClock::now() const {
    return Instant{std::chrono::duration_cast<Instant::duration>(std::chrono::nanoseconds{nanos.load()})};
}

CivilTime ManualClock::localTime(Instant instant) const {
    return civilTimeAtOffset(instant, localOffset.load());
}

void ManualClock::set(Instant instant) {
    nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(instant.time_since_epoch()).count();
}

void ManualClock::advance(double seconds) {
    nanos += static_cast<long long>(seconds * 1e9);
}

void ManualClock::setChinaTime(int year, int month, int day, int hour, int minute, int second) {
    set(instantAtOffset(CivilTime{year, month, day, hour, minute, second}, 8 * 3600));
}

void ManualClock::setLocalUtcOffset(int seconds) {
    localOffset = seconds;
}

} // namespace glimmer
