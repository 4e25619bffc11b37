#pragma once

#include <cstddef>
#include <string_view>

// Reads the decimal number at the start of a line: leading white space,
// an optional sign, digits, an optional point and fraction, an optional
// exponent. The rest of the text is ignored; text that does not start so
// gives 0.0. There is no hexadecimal, "inf" or "nan" form, and the decimal
// point is always '.', whatever the locale. Results are correctly rounded;
// a number too large for a double gives an infinity of its sign, one too
// small gives zero or a subnormal, as the C library's conversion does.
double ParseDecimalPrefix(std::string_view text);

// Length of the decimal number at the very start of text (no white space
// skipped): an optional sign, digits with an optional '.' and fraction (at
// least one digit in all), and an exponent only when it has digits ("1e"
// is the number 1 followed by "e"). 0 when text does not start with one.
// ParseDecimalPrefix reads what this finds.
std::size_t DecimalNumberLength(std::string_view text);
