#include "OleDate.h"

namespace {

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
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
    const long long days = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
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
    if (y < 100 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m))
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
