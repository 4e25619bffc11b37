#pragma once

#include <cstdint>

// The "best" M for an estimator over count values: the integer part of the
// square root of count. No M for no values (or a negative count): 0.
inline int OptimumM(int count)
{
    if (count <= 0)
        return 0;
    // Integer square root by Newton's method on 64 bits: exact for every int,
    // with no rounding of a floating-point root to worry about.
    const std::int64_t n = count;
    std::int64_t x = n;
    std::int64_t y = (x + 1) / 2;
    while (y < x) {
        x = y;
        y = (x + n / x) / 2;
    }
    return static_cast<int>(x);
}
