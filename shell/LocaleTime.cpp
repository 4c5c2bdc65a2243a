#include "shell/LocaleTime.h"

#include "platform/GLibHandles.h"

#include <chrono>
#include <ctime>

namespace stellik {

namespace {

std::string Format(const std::tm& parts, const char* format) {
    char buffer[256];
    return {buffer, std::strftime(buffer, sizeof buffer, format, &parts)};
}

} // namespace

std::tm DateTimeParts(TDateTime value) {
    using namespace std::chrono;
    const TDateParts date = DecodeDate(value);
    const year_month_day ymd{year(date.Year), month(static_cast<unsigned>(date.Month)),
                             day(static_cast<unsigned>(date.Day))};
    const sys_days days{ymd};
    std::tm parts = TimeOfDayParts(value);
    parts.tm_year = date.Year - 1900;
    parts.tm_mon = date.Month - 1;
    parts.tm_mday = date.Day;
    parts.tm_wday = static_cast<int>(weekday(days).c_encoding());
    parts.tm_yday = static_cast<int>((days - sys_days{ymd.year() / January / 1}).count());
    return parts;
}

std::tm TimeOfDayParts(TDateTime value) {
    const TTimeParts time = DecodeTime(value);
    std::tm parts{};
    parts.tm_hour = time.Hour;
    parts.tm_min = time.Minute;
    parts.tm_sec = time.Second;
    parts.tm_mday = 1; // a valid day, for formats that look at it
    return parts;
}

std::string FormatLocaleDateTime(const std::tm& parts, const char* format, const char* fallback) {
    std::string text = Format(parts, format);
    if (g_get_charset(nullptr)) {
        return text;
    }
    const GCharPtr utf8(
        g_locale_to_utf8(text.data(), static_cast<gssize>(text.size()), nullptr, nullptr, nullptr));
    return utf8 ? std::string(utf8.get()) : Format(parts, fallback);
}

bool IsTwelveHourFormat(std::string_view format) {
    constexpr std::string_view TwelveHourConversions = "IlpPr"; // hours of 12, AM/PM, "%r"
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != '%') {
            continue;
        }
        size_t conversion = i + 1;
        // "%E" and "%O" only modify the conversion after them: "%OI" is an hour of 12 too.
        if ((format[conversion] == 'E' || format[conversion] == 'O') &&
            conversion + 1 < format.size()) {
            ++conversion;
        }
        if (TwelveHourConversions.find(format[conversion]) != std::string_view::npos) {
            return true;
        }
        i = conversion; // "%%" is a plain "%"
    }
    return false;
}

} // namespace stellik
