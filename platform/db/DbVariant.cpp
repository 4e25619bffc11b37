#include "platform/db/DbVariant.h"

#include <cmath>
#include <string_view>

#include "core/DecimalParse.h"
#include "core/Format.h"
#include "platform/db/OleDateText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The numeric reading of a text value: blanks around it, an optional sign,
// digits with an optional '.' and fraction (at least one digit in all), an
// optional exponent. The decimal point is '.' whatever the locale; a comma is
// refused rather than guessed at, since whether it groups thousands or marks
// the decimals depends on the reader's locale. No hexadecimal, no "inf" or
// "nan", and a number too large for a double has no value.
std::optional<double> TextToDouble(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    const std::string_view t = text.substr(begin, end - begin);

    if (t.empty() || DecimalNumberLength(t) != t.size())
        return std::nullopt;
    const double value = ParseDecimalPrefix(t);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

// A currency amount, a count of ten-thousandths, as exact decimal text with
// the trailing zeros of the fraction dropped: "1224.5578", "1224.5", "-0.01",
// "100".
std::string CurrencyText(std::int64_t tenThousandths)
{
    const bool negative = tenThousandths < 0;
    // The magnitude of INT64_MIN does not fit an int64; an unsigned one holds it.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                             : static_cast<std::uint64_t>(tenThousandths);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 10000);
    std::uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        while (digits.back() == '0')
            digits.pop_back();
        text += '.';
        text += digits;
    }
    return text;
}

// printf's "%10.2f": two decimals, right-aligned in at least ten characters.
std::string PaddedReal(double value)
{
    std::string text = FormatFixed(value, 2);
    if (text.size() < 10)
        text.insert(0, 10 - text.size(), ' ');
    return text;
}

} // namespace

std::optional<double> VariantToDouble(const CDbVariant& value)
{
    switch (value.vt) {
    case kVtI2:
    case kVtI4:
    case kVtUi1:
        return static_cast<double>(value.i);
    case kVtBool:
        return value.i != 0 ? -1.0 : 0.0;
    case kVtR4:
    case kVtR8:
    case kVtDate:
        return value.d;
    case kVtCy:
        // Both operands are exact, so the quotient is the double nearest
        // the decimal amount.
        return static_cast<double>(value.i) / 10000.0;
    case kVtBstr:
        return TextToDouble(value.s);
    default:
        return std::nullopt;
    }
}

std::string VariantToText(const CDbVariant& value)
{
    switch (value.vt) {
    case kVtNull:
        return "----";
    case kVtI2:
    case kVtI4:
        return std::to_string(value.i);
    case kVtR4:
    case kVtR8:
        return PaddedReal(value.d);
    case kVtCy:
        return CurrencyText(value.i);
    case kVtDate:
        return OleDateText(value.d);
    case kVtBstr:
        return value.s;
    case kVtBool:
        return value.i != 0 ? "TRUE" : "FALSE";
    default:
        return "Unknown type " + std::to_string(static_cast<int>(value.vt)) + "\n";
    }
}
