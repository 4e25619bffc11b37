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

// The smallest D and M an estimate measures something with: a D of 0 has no
// vectors to measure and fewer than two lags no line to fit, so H would
// show 2 with r 0. The command line, the saved intervals and every dialog
// that sets the D or M of an interval or of the whole series hold to
// kMinEmbeddingD..kMaxEmbeddingD and kMinLagCount..kMaxLagCount.
constexpr int kMinEmbeddingD = 1;
constexpr int kMinLagCount = 2;

// Whether a D or an M measures something and is kept when saved.
inline bool IsMeasuringEmbedding(int nD)
{
    return nD >= kMinEmbeddingD && nD <= kMaxEmbeddingD;
}

inline bool IsMeasuringLagCount(int nM)
{
    return nM >= kMinLagCount && nM <= kMaxLagCount;
}

// What a dialog says of a D or an M that does not measure anything.
inline std::string EmbeddingRangeMessage()
{
    return "D must be between " + std::to_string(kMinEmbeddingD) + " and " + std::to_string(kMaxEmbeddingD) + ".";
}

inline std::string LagRangeMessage()
{
    return "M must be between " + std::to_string(kMinLagCount) + " and " + std::to_string(kMaxLagCount) + ".";
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

// The best M to give an interval (or the whole series) of count values: the
// optimum M, but never below kMinLagCount, so that the interval keeps an M
// the document saves and reads again. An interval too short for two lags
// then has no estimate, as any too-short interval has.
inline int BestIntervalM(int count)
{
    const int m = OptimumM(count);
    return m < kMinLagCount ? kMinLagCount : m;
}

// The first lag of the fit, r_min: the line runs through lags r_min..M, at
// least two of them, so 1 <= r_min <= M - 1. 1 fits every lag (the
// estimator's default); a larger one leaves out the smallest lags, which
// discreteness and noise distort.
constexpr int kMinFirstLag = 1;

inline bool IsUsableFirstLag(int nRMin, int nM)
{
    return nRMin >= kMinFirstLag && static_cast<long long>(nRMin) <= static_cast<long long>(nM) - 1;
}

// What a dialog or the command line says of a first lag outside 1..M - 1.
inline std::string FirstLagRangeMessage(int nM)
{
    return "The first lag must be between 1 and M - 1 (" + std::to_string(nM > 2 ? nM - 1 : 1) +
           " for M = " + std::to_string(nM) + "), so that at least two lags are fitted.";
}
