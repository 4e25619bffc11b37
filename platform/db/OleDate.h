#pragma once

#include <optional>
#include <string_view>

// Day numbers of the date variant: whole days since 30 December 1899, the
// time of day as the fraction. Before that day the number is negative and
// the fraction still counts forward from midnight (1899-12-29 06:00 is
// -1.25), as the date variant has always written it.
double OleDayNumber(int year, int month, int day, double dayFraction);

// Reads an ISO 8601 date or date and time as SQLite's date functions and
// most programs write them: "yyyy-mm-dd", "yyyy-mm-dd hh:mm", "yyyy-mm-dd
// hh:mm:ss" and "yyyy-mm-ddThh:mm:ss.fff", each with an optional trailing
// 'Z', or a time of day alone ("hh:mm[:ss[.fff]]", a fraction of day 0).
// Years 0100 to 9999, the range of the date variant. No value when the
// text is not such a date or names a day that does not exist.
std::optional<double> IsoTextToDayNumber(std::string_view text);
