#include "platform/db/OleDate.h"

#include <chrono>

namespace {

// The day the day numbers count from.
constexpr std::chrono::sys_days kDayZero{std::chrono::year{1899} / std::chrono::December / 30};

std::chrono::year_month_day CalendarDay(int year, int month, int day)
{
    return {std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
            std::chrono::day{static_cast<unsigned>(day)}};
}

// Reads exactly `digits` decimal digits at pos.
bool ReadDigits(std::string_view s, std::size_t& pos, int digits, int& value)
{
    if (pos + static_cast<std::size_t>(digits) > s.size())
        return false;
    value = 0;
    for (int k = 0; k < digits; ++k) {
        const char c = s[pos + static_cast<std::size_t>(k)];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    pos += static_cast<std::size_t>(digits);
    return true;
}

bool Expect(std::string_view s, std::size_t& pos, char c)
{
    if (pos >= s.size() || s[pos] != c)
        return false;
    ++pos;
    return true;
}

// "hh:mm[:ss[.fff]]" from pos; the time as a fraction of a day.
bool ReadTime(std::string_view s, std::size_t& pos, double& fraction)
{
    int h = 0, mi = 0, sec = 0;
    if (!ReadDigits(s, pos, 2, h) || !Expect(s, pos, ':') || !ReadDigits(s, pos, 2, mi))
        return false;
    double subSecond = 0.0;
    if (pos < s.size() && s[pos] == ':') {
        ++pos;
        if (!ReadDigits(s, pos, 2, sec))
            return false;
        if (pos < s.size() && s[pos] == '.') {
            ++pos;
            // Digits beyond the ninth (nanoseconds) are read but not used.
            long long digits = 0;
            double scale = 1.0;
            const std::size_t first = pos;
            for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; ++pos) {
                if (pos - first < 9) {
                    digits = digits * 10 + (s[pos] - '0');
                    scale *= 10.0;
                }
            }
            if (pos == first)
                return false;
            subSecond = static_cast<double>(digits) / scale;
        }
    }
    if (h > 23 || mi > 59 || sec > 59)
        return false;
    fraction = ((h * 60.0 + mi) * 60.0 + sec + subSecond) / 86400.0;
    return true;
}

bool AtEnd(std::string_view s, std::size_t pos)
{
    if (pos < s.size() && s[pos] == 'Z')
        ++pos;
    return pos == s.size();
}

} // namespace

double OleDayNumber(int year, int month, int day, double dayFraction)
{
    const long long days = (std::chrono::sys_days{CalendarDay(year, month, day)} - kDayZero).count();
    const double whole = static_cast<double>(days);
    return days >= 0 ? whole + dayFraction : whole - dayFraction;
}

std::optional<double> IsoTextToDayNumber(std::string_view s)
{
    std::size_t pos = 0;
    double fraction = 0.0;
    if (s.size() >= 3 && s[2] == ':') {
        if (!ReadTime(s, pos, fraction) || !AtEnd(s, pos))
            return std::nullopt;
        return fraction;
    }
    int y = 0, m = 0, d = 0;
    if (!ReadDigits(s, pos, 4, y) || !Expect(s, pos, '-') || !ReadDigits(s, pos, 2, m) ||
        !Expect(s, pos, '-') || !ReadDigits(s, pos, 2, d))
        return std::nullopt;
    if (y < 100 || !CalendarDay(y, m, d).ok())
        return std::nullopt;
    if (pos < s.size() && (s[pos] == ' ' || s[pos] == 'T')) {
        ++pos;
        if (!ReadTime(s, pos, fraction))
            return std::nullopt;
    }
    if (!AtEnd(s, pos))
        return std::nullopt;
    return OleDayNumber(y, m, d, fraction);
}
