#include <clocale>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "core/DecimalParse.h"
#include "core/Format.h"

namespace decimal_parse_test {

TEST(DecimalParse, PrefixGrammar)
{
    EXPECT_EQ(ParseDecimalPrefix("5"), 5.0);
    EXPECT_EQ(ParseDecimalPrefix("7.5"), 7.5);
    EXPECT_EQ(ParseDecimalPrefix("3e2"), 300.0);
    EXPECT_EQ(ParseDecimalPrefix("  \t-12.25E-1xyz"), -1.225);
    EXPECT_EQ(ParseDecimalPrefix("+.5"), 0.5);
    EXPECT_EQ(ParseDecimalPrefix("5."), 5.0);
    EXPECT_EQ(ParseDecimalPrefix("12.5 8"), 12.5);
    EXPECT_EQ(ParseDecimalPrefix("1,5"), 1.0);
    EXPECT_EQ(ParseDecimalPrefix("2e"), 2.0);   // an exponent needs digits
    EXPECT_EQ(ParseDecimalPrefix("2e+x"), 2.0);
    EXPECT_EQ(ParseDecimalPrefix("4\r"), 4.0);
    EXPECT_EQ(ParseDecimalPrefix("0.1"), 0.1);
    EXPECT_EQ(ParseDecimalPrefix("-0"), 0.0);
    EXPECT_TRUE(std::signbit(ParseDecimalPrefix("-0")));
}

TEST(DecimalParse, WhatIsNotANumberGivesZero)
{
    for (const char* text : {"", "abc", "nan", "NaN", "inf", "-infinity", ".", "-", "+.", "e5", " x1"})
        EXPECT_EQ(ParseDecimalPrefix(text), 0.0) << text;
    // No hexadecimal: "0x10" is the number 0 followed by text.
    EXPECT_EQ(ParseDecimalPrefix("0x10"), 0.0);
}

TEST(DecimalParse, OutOfRangeAndPrecision)
{
    EXPECT_EQ(ParseDecimalPrefix("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseDecimalPrefix("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseDecimalPrefix("1e-400"), 0.0);
    EXPECT_EQ(ParseDecimalPrefix("0.00000000000000000000000000000001e-300"), 0.0);
    EXPECT_EQ(ParseDecimalPrefix("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(ParseDecimalPrefix("8.874811463046854"), 8.874811463046854);
    EXPECT_EQ(ParseDecimalPrefix("-51.25037707390629"), -51.25037707390629);
}

TEST(DecimalParse, IndependentOfTheLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_EQ(ParseDecimalPrefix("7.5"), 7.5);
        EXPECT_EQ(FormatFixed(120.0, 6), "120.000000");
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(FormatFixed(120.0, 6), "120.000000");
    EXPECT_EQ(FormatFixed(-0.5, 2), "-0.50");
    EXPECT_EQ(FormatRoundTrip(0.1), "0.1");
}

} // namespace decimal_parse_test
