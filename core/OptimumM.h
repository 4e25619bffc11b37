#pragma once

#include <cstdint>
#include <string>

// The largest M a person may ask of an estimator: beyond it the lag tables
// alone would take gigabytes and the fit hours.
constexpr int kMaxLagCount = 100000;

// The largest D the command line gives an estimator; a document with a
// larger one is refused at opening.
constexpr int kMaxEmbeddingD = 1000;

// Whether a D read from a file can be given to an estimator.
inline bool IsUsableEmbedding(int nD)
{
    return nD >= 0 && nD <= kMaxEmbeddingD;
}

// What a dialog or the command line says of an M outside 0..kMaxLagCount.
inline std::string LagCountMessage()
{
    return "M must be between 0 and " + std::to_string(kMaxLagCount) + ".";
}

// Whether a typed M can be given to an estimator.
inline bool IsUsableLagCount(int nM)
{
    return nM >= 0 && nM <= kMaxLagCount;
}

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
