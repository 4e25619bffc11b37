#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The value of one field of one record, tagged with the variant type numbers
// that the import's coercion and display rules are written in.
enum DbVarType : int
{
    kVtEmpty = 0,
    kVtNull = 1,
    kVtI2 = 2,    // 16-bit integer
    kVtI4 = 3,    // 32-bit integer
    kVtR4 = 4,    // 4-byte real
    kVtR8 = 5,    // 8-byte real
    kVtCy = 6,    // currency: a 64-bit count of ten-thousandths
    kVtDate = 7,  // day number since 30 December 1899, time as the fraction
    kVtBstr = 8,  // text, UTF-8
    kVtBool = 11,
    kVtUi1 = 17,  // unsigned byte
};

struct CDbVariant
{
    DbVarType vt = kVtEmpty;
    std::int64_t i = 0;   // kVtI2, kVtI4, kVtUi1, kVtBool (0 or 1), kVtCy (amount * 10000)
    double d = 0.0;       // kVtR4 (exactly the float's value), kVtR8, kVtDate
    std::string s;        // kVtBstr

    static CDbVariant Null() { CDbVariant v; v.vt = kVtNull; return v; }
    static CDbVariant Int16(std::int64_t x) { CDbVariant v; v.vt = kVtI2; v.i = x; return v; }
    static CDbVariant Int32(std::int64_t x) { CDbVariant v; v.vt = kVtI4; v.i = x; return v; }
    static CDbVariant Byte(std::int64_t x) { CDbVariant v; v.vt = kVtUi1; v.i = x; return v; }
    static CDbVariant Bool(bool x) { CDbVariant v; v.vt = kVtBool; v.i = x ? 1 : 0; return v; }
    static CDbVariant Real4(float x) { CDbVariant v; v.vt = kVtR4; v.d = x; return v; }
    static CDbVariant Real8(double x) { CDbVariant v; v.vt = kVtR8; v.d = x; return v; }
    static CDbVariant Currency(std::int64_t tenThousandths) { CDbVariant v; v.vt = kVtCy; v.i = tenThousandths; return v; }
    static CDbVariant Date(double dayNumber) { CDbVariant v; v.vt = kVtDate; v.d = dayNumber; return v; }
    static CDbVariant Text(std::string x) { CDbVariant v; v.vt = kVtBstr; v.s = std::move(x); return v; }
};

// The value as an 8-byte real: numbers their value, booleans -1 and 0, dates
// their day number, currency its amount, text its numeric reading with '.' as
// the decimal point whatever the locale. No value for Null, empty, byte arrays
// or text that is not a number.
std::optional<double> VariantToDouble(const CDbVariant& value);

// The text a sample list shows for the value.
std::string VariantToText(const CDbVariant& value);
