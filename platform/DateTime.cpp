#include "platform/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace stellik {

namespace {

// Days from 1970-01-01 to y-m-d in the proleptic Gregorian calendar (civil algorithm).
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy =
        (153 * static_cast<unsigned>(m > 2 ? m - 3 : m + 9) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

TDateParts CivilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const long long EpochOffset = DaysFromCivil(1899, 12, 30); // 1899-12-30 relative to 1970

constexpr long long MsPerDay = 86400000LL;

// The value rounded to the nearest millisecond, split into whole days and milliseconds of
// the day; rounding may carry into the next day, as the runtime's decomposition does.
struct TStamp {
    long long Days;
    long long Ms;
};

TStamp ToStamp(TDateTime value) {
    const long long days = static_cast<long long>(std::trunc(value));
    const long long frac = std::llround(std::fabs(value - static_cast<double>(days)) * MsPerDay);
    return {days + frac / MsPerDay, frac % MsPerDay};
}

} // namespace

TDateTime Now() {
    const auto now = std::chrono::system_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
    const std::time_t secs = static_cast<std::time_t>(ms.count() / 1000);
    std::tm local{};
    localtime_r(&secs, &local);
    const TDateTime date = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return date + EncodeTime(local.tm_hour, local.tm_min, local.tm_sec,
                             static_cast<int>(ms.count() % 1000));
}

TDateParts DecodeDate(TDateTime value) {
    return CivilFromDays(ToStamp(value).Days + EpochOffset);
}

TTimeParts DecodeTime(TDateTime value) {
    const long long secs = ToStamp(value).Ms / 1000;
    return {static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
            static_cast<int>(secs % 60)};
}

TDateTime EncodeDate(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, month, day) - EpochOffset);
}

TDateTime EncodeTime(int hour, int minute, int second, int milliSecond) {
    const long long ms = ((hour * 60LL + minute) * 60LL + second) * 1000LL + milliSecond;
    return static_cast<double>(ms) / (SecondsPerDay * 1000.0);
}

} // namespace stellik
