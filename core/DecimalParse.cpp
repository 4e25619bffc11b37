#include "core/DecimalParse.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// from_chars reports out-of-range without a value; decide the limit from the
// exponent the text carries.
double OutOfRange(std::string_view number, bool negative)
{
    // A mantissa of only zeros never gets here. Find the decimal exponent of
    // the leading significant digit to know whether we over- or underflowed.
    std::size_t i = 0;
    long long leading = 0; // digits before the point, after leading zeros
    long long fractionZeros = 0;
    bool seenNonZero = false;
    bool afterPoint = false;
    for (; i < number.size(); ++i) {
        const char c = number[i];
        if (c == '.') { afterPoint = true; continue; }
        if (!IsDigit(c)) break;
        if (!seenNonZero) {
            if (c == '0') { if (afterPoint) ++fractionZeros; continue; }
            seenNonZero = true;
        }
        if (!afterPoint) ++leading;
    }
    long long exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        bool negExp = false;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) negExp = number[i++] == '-';
        for (; i < number.size() && IsDigit(number[i]); ++i)
            if (exponent < 100000000) exponent = exponent * 10 + (number[i] - '0');
        if (negExp) exponent = -exponent;
    }
    const long long magnitude = leading > 0 ? leading + exponent : exponent - fractionZeros;
    const double limit = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -limit : limit;
}

} // namespace

std::size_t DecimalNumberLength(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) { ++i; ++digits; }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) { ++i; ++digits; }
    }
    if (digits == 0)
        return 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

double ParseDecimalPrefix(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsSpace(text[i]))
        ++i;
    const std::size_t length = DecimalNumberLength(text.substr(i));
    if (length == 0)
        return 0.0;
    const std::size_t end = i + length;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-')
        negative = text[i++] == '-';
    const std::size_t start = i;
    const std::string_view number = text.substr(start, end - start);
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        return OutOfRange(number, negative);
    if (ec != std::errc() || ptr != number.data() + number.size()) {
        // Cannot happen for text of the grammar above; fall back to zero
        // rather than guess.
        return 0.0;
    }
    return negative ? -value : value;
}
