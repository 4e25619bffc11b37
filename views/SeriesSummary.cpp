#include "views/SeriesSummary.h"

#include <algorithm>
#include <limits>

#include "core/WorkSplit.h"

namespace {

// Points per item of the parallel first pass: a multiple of the fan.
constexpr int kChunk = 1 << 18;

// Takes y into the extremes; a NaN only marks them.
void Take(double y, double& lo, double& hi, bool& nan)
{
    if (y != y) {
        nan = true;
    } else {
        lo = std::min(lo, y);
        hi = std::max(hi, y);
    }
}

} // namespace

CSeriesSummary::CSeriesSummary(const CSeriesArray& points) : m_pX(points.Xs()), m_pY(points.Ys()), m_nCount(points.GetSize())
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const int blocks = (m_nCount + kFan - 1) / kFan;
    std::vector<Block> first(static_cast<std::size_t>(blocks));
    const int chunks = (m_nCount + kChunk - 1) / kChunk;
    std::vector<char> ascending(static_cast<std::size_t>(chunks), 1);
    CWorkSplit(chunks).Run([&](std::int64_t item, unsigned) {
        const int begin = static_cast<int>(item) * kChunk;
        const int end = std::min(m_nCount, begin + kChunk);
        bool up = true;
        for (int b = begin / kFan; b * kFan < end; ++b) {
            Block block{kInf, -kInf, false};
            const int stop = std::min(end, (b + 1) * kFan);
            for (int i = b * kFan; i < stop; ++i) {
                Take(m_pY[i], block.lo, block.hi, block.nan);
                // NaN compares false: it ends the ascent as a step down does.
                if (i > 0 && !(m_pX[i] >= m_pX[i - 1]))
                    up = false;
            }
            first[static_cast<std::size_t>(b)] = block;
        }
        if (m_nCount > 0 && begin == 0 && m_pX[0] != m_pX[0])
            up = false;
        ascending[static_cast<std::size_t>(item)] = up ? 1 : 0;
    });
    m_bAscending = std::all_of(ascending.begin(), ascending.end(), [](char c) { return c != 0; });
    m_levels.push_back(std::move(first));
    while (m_levels.back().size() > static_cast<std::size_t>(kFan)) {
        const std::vector<Block>& below = m_levels.back();
        std::vector<Block> level((below.size() + kFan - 1) / kFan, Block{kInf, -kInf, false});
        for (std::size_t i = 0; i < below.size(); ++i) {
            Block& up = level[i / kFan];
            up.lo = std::min(up.lo, below[i].lo);
            up.hi = std::max(up.hi, below[i].hi);
            up.nan = up.nan || below[i].nan;
        }
        m_levels.push_back(std::move(level));
    }
}

bool CSeriesSummary::Describes(const CSeriesArray& points) const
{
    return points.Xs() == m_pX && points.Ys() == m_pY && points.GetSize() == m_nCount;
}

void CSeriesSummary::Scan(int level, int begin, int end, Extremes& e) const
{
    if (level < 0) {
        for (int i = begin; i < end; ++i)
            Take(m_pY[i], e.lo, e.hi, e.nan);
        e.empty = !(e.lo <= e.hi);
        return;
    }
    const std::vector<Block>& blocks = m_levels[static_cast<std::size_t>(level)];
    for (int i = begin; i < end; ++i) {
        const Block& b = blocks[static_cast<std::size_t>(i)];
        e.nan = e.nan || b.nan;
        if (b.lo <= b.hi) {
            e.lo = std::min(e.lo, b.lo);
            e.hi = std::max(e.hi, b.hi);
            e.empty = false;
        }
    }
}

// begin and end count units of the level: points at level -1, blocks above.
void CSeriesSummary::Query(int level, int begin, int end, Extremes& e) const
{
    if (level + 1 < static_cast<int>(m_levels.size())) {
        const int b0 = (begin + kFan - 1) / kFan;
        const int b1 = end / kFan;
        if (b0 < b1) {
            Scan(level, begin, b0 * kFan, e);
            Query(level + 1, b0, b1, e);
            Scan(level, b1 * kFan, end, e);
            return;
        }
    }
    Scan(level, begin, end, e);
}

CSeriesSummary::Extremes CSeriesSummary::YExtremes(int begin, int end) const
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    Extremes e{kInf, -kInf, false, true};
    Query(-1, begin, end, e);
    return e;
}
