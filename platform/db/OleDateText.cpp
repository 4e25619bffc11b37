#include "platform/db/OleDateText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Day numbers of 1 January 100 and of the day after 31 December 9999.
constexpr double kFirstDay = -657434.0;
constexpr double kPastLastDay = 2958466.0;

// Days from 30 December 1899 to 1 January 1970.
constexpr long long kEpochOffset = 25569;

struct CivilDate
{
    long long year;
    unsigned month;
    unsigned day;
};

// The proleptic Gregorian date of a count of days since 1 January 1970.
CivilDate CivilFromDays(long long z)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {m <= 2 ? y + 1 : y, m, d};
}

} // namespace

std::string OleDateText(double dayNumber)
{
    if (!std::isfinite(dayNumber))
        return std::isnan(dayNumber) ? "nan" : dayNumber < 0 ? "-inf" : "inf";
    if (dayNumber <= kFirstDay - 1.0 || dayNumber >= kPastLastDay) {
        char text[400];
        const auto end = std::to_chars(text, text + sizeof text, dayNumber, std::chars_format::fixed).ptr;
        return std::string(text, end);
    }

    long long day = static_cast<long long>(std::trunc(dayNumber));
    long long seconds = std::llround(std::fabs(dayNumber - static_cast<double>(day)) * 86400.0);
    if (seconds >= 86400) {
        ++day;
        seconds -= 86400;
    }

    char buf[64];
    const int hh = static_cast<int>(seconds / 3600);
    const int mm = static_cast<int>(seconds / 60 % 60);
    const int ss = static_cast<int>(seconds % 60);
    // Only integers are formatted here, so the locale plays no part.
    if (day == 0) {
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hh, mm, ss);
        return buf;
    }
    const CivilDate date = CivilFromDays(day - kEpochOffset);
    if (seconds == 0) {
        std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", date.year, date.month, date.day);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u %02d:%02d:%02d", date.year, date.month, date.day, hh, mm,
                  ss);
    return buf;
}
