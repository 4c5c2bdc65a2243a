// platform/DateTime.h -- days since 30 December 1899, the fraction being the time of day
#pragma once

namespace stellik {

using TDateTime = double;

constexpr double SecondsPerDay = 86400.0;
constexpr TDateTime OneSecond = 1.0 / SecondsPerDay;

struct TDateParts {
    int Year = 1899, Month = 12, Day = 30;
};

struct TTimeParts {
    int Hour = 0, Minute = 0, Second = 0;
};

// The current local date and time.
TDateTime Now();

// The value is rounded to the nearest millisecond (which may carry into the next day) and
// the milliseconds are then dropped: 10:00:00.9996 reads 10:00:01.
TDateParts DecodeDate(TDateTime value);
TTimeParts DecodeTime(TDateTime value);

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int milliSecond = 0);

} // namespace stellik
