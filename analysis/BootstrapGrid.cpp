#include "analysis/BootstrapGrid.h"

#include <algorithm>
#include <cmath>

#include "analysis/QuantileCrossing.h"

namespace {

double GridStep(int depth)
{
    return (kBootstrapHighestH - kBootstrapLowestH) / static_cast<double>(1 << depth);
}

// The index of the grid h nearest to h (the bisection asks only for grid h's).
std::size_t IndexOf(const CBootstrapGrid& grid, double h)
{
    const long k = std::lround((h - kBootstrapLowestH) / GridStep(grid.depth));
    return static_cast<std::size_t>(std::clamp<long>(k, 0, static_cast<long>(grid.points.size()) - 1));
}

// One value read at quantile column c, with its bound.
void Read(const CBootstrapGrid& grid, double observed, std::size_t c, double& value, EBandBound& bound)
{
    const CCrossingBracket b = BisectCrossing(
        observed, kBootstrapLowestH, kBootstrapHighestH, grid.depth,
        [&](double h) { return std::optional<double>(grid.points[IndexOf(grid, h)].quantiles[c]); });
    if (b.belowLowest) {
        value = kBootstrapLowestH;
        bound = EBandBound::AtOrBelow;
    } else if (b.aboveHighest) {
        value = kBootstrapHighestH;
        bound = EBandBound::AtOrAbove;
    } else {
        const double rise = b.qHi - b.qLo;
        value = rise > 0.0 ? b.lo + (b.hi - b.lo) * std::clamp((observed - b.qLo) / rise, 0.0, 1.0)
                           : 0.5 * (b.lo + b.hi);
        bound = EBandBound::Value;
    }
}

} // namespace

std::vector<double> BootstrapGridH(int depth)
{
    const int parts = 1 << depth;
    std::vector<double> hs;
    for (int k = 0; k <= parts; ++k)
        hs.push_back(kBootstrapLowestH + static_cast<double>(k) * GridStep(depth));
    return hs;
}

CBootstrapGrid ComputeBootstrapGrid(const CBootstrapRequest& request, int depth, bool withCheck,
                                    const BootstrapProgress& progress)
{
    CBootstrapGrid grid;
    std::vector<CBootstrapEvaluation> evaluations =
        EvaluateBootstrapAt(request, BootstrapGridH(depth), withCheck, progress);
    if (evaluations.empty())
        return grid;
    grid.depth = depth;
    const double tail = 0.5 * (1.0 - request.level);
    for (const CBootstrapEvaluation& e : evaluations)
        grid.points.push_back(GridPointOf(e.h, e.sorted, tail));
    grid.lowestLeast = evaluations.front().sorted.front();
    grid.highestLargest = evaluations.back().sorted.back();
    grid.evaluations = std::move(evaluations);
    return grid;
}

CBandWindow ReadBootstrapGrid(const CBootstrapGrid& grid, double observedH)
{
    CBandWindow w;
    if (grid.Empty() || !(observedH >= grid.lowestLeast && observedH <= grid.highestLargest))
        return w;
    // As the bootstrap: the corrected H at the median, the low end where the
    // upper quantile meets the observed H, the high end where the lower does.
    Read(grid, observedH, 1, w.corrected, w.correctedBound);
    Read(grid, observedH, 2, w.low, w.lowBound);
    Read(grid, observedH, 0, w.high, w.highBound);
    return w;
}

std::size_t NearestGridIndex(const CBootstrapGrid& grid, double h)
{
    return IndexOf(grid, h);
}
