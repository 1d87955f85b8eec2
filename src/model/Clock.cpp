#include "model/Clock.h"

#include "model/SystemClock.h"

namespace glimmer {

namespace {

// Days since 1970-01-01 for a proleptic Gregorian date (Howard Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

} // namespace

CivilTime Clock::civilTimeAtOffset(Instant instant, int utcOffsetSeconds) {
    using namespace std::chrono;
    const auto secs = floor<seconds>(instant.time_since_epoch()).count() + utcOffsetSeconds;
    long long days = secs / 86400;
    long long rem = secs % 86400;
    if (rem < 0) {
        rem += 86400;
        days -= 1;
    }
    const year_month_day ymd{sys_days{std::chrono::days{days}}};
    CivilTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(rem / 3600);
    t.minute = static_cast<int>((rem % 3600) / 60);
    t.second = static_cast<int>(rem % 60);
    t.weekday = static_cast<int>(weekday{sys_days{std::chrono::days{days}}}.c_encoding());
    return t;
}

CivilTime Clock::chinaTime(Instant instant) {
    return civilTimeAtOffset(instant, 8 * 3600);
}

Instant Clock::instantAtOffset(const CivilTime& time, int utcOffsetSeconds) {
    const long long days = daysFromCivil(time.year, static_cast<unsigned>(time.month), static_cast<unsigned>(time.day));
    const long long secs = days * 86400 + time.hour * 3600LL + time.minute * 60LL + time.second - utcOffsetSeconds;
    return Instant{std::chrono::seconds{secs}};
}

const Clock& Clock::system() {
    static const SystemClock clock;
    return clock;
}

double secondsBetween(Instant from, Instant to) {
    return std::chrono::duration<double>(to - from).count();
}

} // namespace glimmer
