#pragma once

#include <string>

// The display text of a date held as a day number since 30 December 1899
// (time of day as the fraction; before that day the fraction still counts
// forward from midnight, so -1.25 is 29 December 1899, 06:00). Rounded to the
// second and written without regard to the locale:
//   "2001-03-04 06:00:00"  a date and time,
//   "2001-03-04"           a date at midnight,
//   "06:00:00"             a time alone (day number 0, how a time-only
//                          value is stored).
// A day number outside the years 100 to 9999, or not finite, is shown as the
// number itself.
std::string OleDateText(double dayNumber);
