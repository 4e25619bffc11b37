#pragma once

#include <vector>

#include "core/GrowArray.h"

// The lowest and highest Y over blocks of a series, level over level, so
// that the extremes of any run of consecutive points are found without
// visiting every point: a zoomed picture of a long series draws each pixel
// column from them. Made once per series and kept while the series stays.
class CSeriesSummary
{
public:
    explicit CSeriesSummary(const CSeriesArray& points);

    // Whether it was made from these points (the same storage, the same
    // count).
    bool Describes(const CSeriesArray& points) const;
    // Whether X never decreases from one point to the next (no X is NaN):
    // the points of a pixel column are then one run of consecutive points.
    bool XAscending() const { return m_bAscending; }

    struct Extremes
    {
        double lo;
        double hi;
        // A NaN Y among the points (left out of lo and hi).
        bool nan;
        // No Y but NaN: lo and hi mean nothing.
        bool empty;
    };
    // The extremes of Y over the points begin .. end - 1 (begin < end).
    Extremes YExtremes(int begin, int end) const;

private:
    static constexpr int kFan = 64;
    struct Block
    {
        double lo;
        double hi;
        bool nan;
    };
    void Scan(int level, int begin, int end, Extremes& e) const;
    void Query(int level, int begin, int end, Extremes& e) const;

    const double* m_pX;
    const double* m_pY;
    int m_nCount;
    bool m_bAscending = true;
    // Level k holds one block per kFan^(k+1) points.
    std::vector<std::vector<Block>> m_levels;
};
