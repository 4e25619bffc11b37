#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "tests/platform/db/CommaLocale.h"
#include "platform/db/DbVariant.h"

namespace db_variant_test {

namespace {

CDbVariant OfType(int vt)
{
    CDbVariant v;
    v.vt = static_cast<DbVarType>(vt);
    return v;
}

std::optional<double> TextValue(const char* text) { return VariantToDouble(CDbVariant::Text(text)); }

} // namespace

TEST(VariantToDouble, NumbersGiveTheirValueAndSinglesWidenExactly)
{
    EXPECT_EQ(VariantToDouble(CDbVariant::Int16(-900)), -900.0);
    EXPECT_EQ(VariantToDouble(CDbVariant::Int32(-2147483647 - 1)), -2147483648.0);
    EXPECT_EQ(VariantToDouble(CDbVariant::Byte(200)), 200.0);
    EXPECT_EQ(VariantToDouble(CDbVariant::Real4(0.1f)), static_cast<double>(0.1f));
    EXPECT_NE(VariantToDouble(CDbVariant::Real4(0.1f)), 0.1);
    EXPECT_EQ(VariantToDouble(CDbVariant::Real8(1e9 + 0.125)), 1e9 + 0.125);
    EXPECT_EQ(VariantToDouble(CDbVariant::Real8(-0.3333333333333333)), -0.3333333333333333);
}

TEST(VariantToDouble, BooleansDatesAndCurrency)
{
    EXPECT_EQ(VariantToDouble(CDbVariant::Bool(true)), -1.0);
    EXPECT_EQ(VariantToDouble(CDbVariant::Bool(false)), 0.0);
    EXPECT_EQ(VariantToDouble(CDbVariant::Date(36954.25)), 36954.25);
    EXPECT_EQ(VariantToDouble(CDbVariant::Date(-1.25)), -1.25);
    // The nearest double to the decimal amount, as reading "1224.5578" gives.
    EXPECT_EQ(VariantToDouble(CDbVariant::Currency(12245578)), 1224.5578);
    EXPECT_EQ(VariantToDouble(CDbVariant::Currency(-100)), -0.01);
    EXPECT_EQ(VariantToDouble(CDbVariant::Currency(std::numeric_limits<std::int64_t>::max())),
              922337203685477.5807);
}

TEST(VariantToDouble, MissingAndUnknownValuesHaveNone)
{
    EXPECT_FALSE(VariantToDouble(CDbVariant::Null()));
    EXPECT_FALSE(VariantToDouble(CDbVariant{}));
    EXPECT_FALSE(VariantToDouble(OfType(0x2011)));
    EXPECT_FALSE(VariantToDouble(OfType(14)));
}

TEST(VariantToDouble, TextIsReadWithAPointAndBlanksAround)
{
    EXPECT_EQ(TextValue("12.5"), 12.5);
    EXPECT_EQ(TextValue("  7"), 7.0);
    EXPECT_EQ(TextValue("7 \t"), 7.0);
    EXPECT_EQ(TextValue("-3e2"), -300.0);
    EXPECT_EQ(TextValue("+4E+1"), 40.0);
    EXPECT_EQ(TextValue(".5"), 0.5);
    EXPECT_EQ(TextValue("5."), 5.0);
    EXPECT_EQ(TextValue("0.1"), 0.1);
    EXPECT_EQ(TextValue("-60.264636933423475"), -60.264636933423475);
    EXPECT_EQ(TextValue("1e-400"), 0.0);
}

TEST(VariantToDouble, TextThatIsNotPlainlyANumberHasNone)
{
    for (const char* text : {"abc", "", "   ", "1,5", "1,000", "0x10", "inf", "nan", "1e999", "-1e999",
                             "1.5e", "e5", ".", "-", "--1", "1 2", "12abc", "$12", "(12)"})
        EXPECT_FALSE(TextValue(text)) << '"' << text << '"';
}

TEST(VariantToText, EachTypeAsTheSampleListShowsIt)
{
    EXPECT_EQ(VariantToText(CDbVariant::Null()), "----");
    EXPECT_EQ(VariantToText(CDbVariant::Int16(-900)), "-900");
    EXPECT_EQ(VariantToText(CDbVariant::Int32(-2147483647 - 1)), "-2147483648");
    EXPECT_EQ(VariantToText(CDbVariant::Real4(0.25f)), "      0.25");
    EXPECT_EQ(VariantToText(CDbVariant::Real8(-5.75)), "     -5.75");
    EXPECT_EQ(VariantToText(CDbVariant::Real8(1e9 + 0.125)), "1000000000.12");
    EXPECT_EQ(VariantToText(CDbVariant::Text("温度")), "温度");
    EXPECT_EQ(VariantToText(CDbVariant::Text("")), "");
    EXPECT_EQ(VariantToText(CDbVariant::Bool(true)), "TRUE");
    EXPECT_EQ(VariantToText(CDbVariant::Bool(false)), "FALSE");
    EXPECT_EQ(VariantToText(CDbVariant::Byte(200)), "Unknown type 17\n");
    EXPECT_EQ(VariantToText(CDbVariant{}), "Unknown type 0\n");
    EXPECT_EQ(VariantToText(OfType(0x2011)), "Unknown type 8209\n");
}

TEST(VariantToText, RealsMatchPrintfInTheCLocale)
{
    std::setlocale(LC_ALL, "C");
    for (double v : {0.0, -0.0, 0.125, 0.375, 2.675, -0.005, 1.005, 123456.789, 12345678.9, 1e20, -1e-300,
                     static_cast<double>(0.1f), -60.264636933423475}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%10.2f", v);
        EXPECT_EQ(VariantToText(CDbVariant::Real8(v)), expected) << v;
    }
}

TEST(VariantToText, CurrencyIsTheExactAmount)
{
    EXPECT_EQ(VariantToText(CDbVariant::Currency(12245578)), "1224.5578");
    EXPECT_EQ(VariantToText(CDbVariant::Currency(12245000)), "1224.5");
    EXPECT_EQ(VariantToText(CDbVariant::Currency(1000000)), "100");
    EXPECT_EQ(VariantToText(CDbVariant::Currency(0)), "0");
    EXPECT_EQ(VariantToText(CDbVariant::Currency(-100)), "-0.01");
    EXPECT_EQ(VariantToText(CDbVariant::Currency(-10341)), "-1.0341");
    EXPECT_EQ(VariantToText(CDbVariant::Currency(std::numeric_limits<std::int64_t>::min())),
              "-922337203685477.5808");
}

TEST(VariantToText, DatesAndTimes)
{
    EXPECT_EQ(VariantToText(CDbVariant::Date(36954.25)), "2001-03-04 06:00:00");
    EXPECT_EQ(VariantToText(CDbVariant::Date(18264.0)), "1950-01-01");
    EXPECT_EQ(VariantToText(CDbVariant::Date(36585.0)), "2000-02-29");
    EXPECT_EQ(VariantToText(CDbVariant::Date(60.0)), "1900-02-28");
    EXPECT_EQ(VariantToText(CDbVariant::Date(61.0)), "1900-03-01");
    EXPECT_EQ(VariantToText(CDbVariant::Date(1.0)), "1899-12-31");
    EXPECT_EQ(VariantToText(CDbVariant::Date(2958465.0)), "9999-12-31");
    EXPECT_EQ(VariantToText(CDbVariant::Date(-657434.0)), "0100-01-01");
    // Stored times are rarely exact binary fractions: they round to the second.
    EXPECT_EQ(VariantToText(CDbVariant::Date(36955.291666666664)), "2001-03-05 07:00:00");
    EXPECT_EQ(VariantToText(CDbVariant::Date(36954.99999999)), "2001-03-05");
    // Before 30 December 1899 the fraction still counts forward from midnight.
    EXPECT_EQ(VariantToText(CDbVariant::Date(-1.25)), "1899-12-29 06:00:00");
    EXPECT_EQ(VariantToText(CDbVariant::Date(-2.99999999)), "1899-12-29");
    // Day number 0 holds a time alone.
    EXPECT_EQ(VariantToText(CDbVariant::Date(0.25)), "06:00:00");
    EXPECT_EQ(VariantToText(CDbVariant::Date(0.0)), "00:00:00");
    EXPECT_EQ(VariantToText(CDbVariant::Date(-0.75)), "18:00:00");
    // Outside the calendar the day number itself is shown.
    EXPECT_EQ(VariantToText(CDbVariant::Date(3e6)), "3000000");
    EXPECT_EQ(VariantToText(CDbVariant::Date(-657435.0)), "-657435");
    EXPECT_EQ(VariantToText(CDbVariant::Date(std::numeric_limits<double>::quiet_NaN())), "nan");
}

TEST(VariantLocale, ACommaLocaleChangesNeitherCoercionNorText)
{
    CommaLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    EXPECT_EQ(TextValue("12.5"), 12.5);
    EXPECT_FALSE(TextValue("1,5"));
    EXPECT_EQ(VariantToText(CDbVariant::Real8(-5.75)), "     -5.75");
    EXPECT_EQ(VariantToText(CDbVariant::Real4(0.25f)), "      0.25");
    EXPECT_EQ(VariantToText(CDbVariant::Currency(12245578)), "1224.5578");
    EXPECT_EQ(VariantToText(CDbVariant::Date(36954.25)), "2001-03-04 06:00:00");
    EXPECT_EQ(VariantToText(CDbVariant::Int32(1000000)), "1000000");
}

} // namespace db_variant_test
