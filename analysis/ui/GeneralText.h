#pragma once

#include <QString>

// A result shown in a read-only edit: general format with up to 15
// significant digits, like "%.15g", with '.' as the decimal point whatever
// the locale.
inline QString GeneralText(double value)
{
    return QString::number(value, 'g', 15);
}
