// shell/LocaleTime.h -- dates and times as the user's locale writes them
#pragma once

#include "platform/DateTime.h"

#include <ctime>
#include <string>
#include <string_view>

namespace stellik {

// The date of value broken down for strftime (its weekday and day of the year included),
// with its time of day.
std::tm DateTimeParts(TDateTime value);
// The time of day of value alone broken down for strftime; the date stays unset.
std::tm TimeOfDayParts(TDateTime value);

// parts through strftime's format in the current LC_TIME locale, in UTF-8. When the locale
// writes another character set and its text does not convert, fallback is used instead (a
// format of digits and punctuation only).
std::string FormatLocaleDateTime(const std::tm& parts, const char* format, const char* fallback);

// Whether a strftime time format (the locale's own, as nl_langinfo(T_FMT) gives it) counts
// the hours of a 12-hour clock.
bool IsTwelveHourFormat(std::string_view format);

} // namespace stellik
