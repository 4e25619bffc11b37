#pragma once

#include <string>

// printf-style "%.*f" formatting that never depends on the user's locale:
// the decimal point is always '.'. Infinities and NaN read "inf", "-inf",
// "nan" (or "-nan"), as the C library writes them.
std::string FormatFixed(double value, int decimals);

// The shortest text that reads back to exactly the same double (at most 17
// significant digits), for scripts that parse our output.
std::string FormatRoundTrip(double value);
