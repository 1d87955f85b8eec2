#include "model/SystemClock.h"

#include <ctime>

namespace glimmer {

Instant SystemClock::now() const {
    return std::chrono::system_clock::now();
}

CivilTime SystemClock::localTime(Instant instant) const {
    const std::time_t t = std::chrono::system_clock::to_time_t(instant);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    CivilTime c;
    c.year = tm.tm_year + 1900;
    c.month = tm.tm_mon + 1;
    c.day = tm.tm_mday;
    c.hour = tm.tm_hour;
    c.minute = tm.tm_min;
    c.second = tm.tm_sec;
    c.weekday = tm.tm_wday;
    return c;
}

} // namespace glimmer
