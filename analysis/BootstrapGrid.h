#pragma once

#include <cstddef>
#include <vector>

#include "analysis/Bootstrap.h"
#include "document/IntervalBand.h"

// A bootstrap grid: the replicates' quantiles at fixed trial exponents, for
// every estimate that shares n, D and M (the windows of a sliding run). The
// bootstrap of one estimate searches h by bisection over [kBootstrapLowestH,
// kBootstrapHighestH]; the grid evaluates, once, the h's that bisection's
// first `depth` steps can try (the range cut into 2^depth equal parts), with
// the same simulation, model, seed and replicates, so its quantiles there
// are the bootstrap's own bit for bit. An estimate's corrected H and
// interval are then read from it: the same bisection over the grid, its last
// step solved by linear interpolation between the two grid points that
// bracket the crossing.

// 2^6 parts: 65 h's 0.0154 apart. At the window widths of sliding runs the
// quantiles bend so little over that step that the interpolation stays
// within 0.002 of the bootstrap of each window (whose own bisection stops
// within 0.0005 of its crossing).
constexpr int kBootstrapGridDepth = 6;

// kBootstrapLowestH + k (kBootstrapHighestH - kBootstrapLowestH) / 2^depth,
// k = 0 .. 2^depth (every one exact in binary, as the bisection's middles).
std::vector<double> BootstrapGridH(int depth);

struct CBootstrapGrid
{
    int depth = 0;
    // Ascending h, with the quantiles at tail, 0.5 and 1 - tail.
    std::vector<CBootstrapGridPoint> points;
    // The least replicate at the lowest h and the largest at the highest:
    // an observed H outside them cannot be reached.
    double lowestLeast = 0.0;
    double highestLargest = 0.0;
    // The evaluations themselves, in the order of points.
    std::vector<CBootstrapEvaluation> evaluations;

    bool Empty() const { return points.empty(); }
};

// The grid for the request (its observedH is not used), with the model
// check's estimates of every replicate when withCheck. Empty when the
// request is refused (CheckBootstrapRequest) or progress cancels.
CBootstrapGrid ComputeBootstrapGrid(const CBootstrapRequest& request, int depth, bool withCheck,
                                    const BootstrapProgress& progress = {});

// The corrected H, low and high of an observed H, read from the grid with the
// bounds of CBootstrapResult: an edge AtOrBelow / AtOrAbove when the
// observed H lies beyond what the range gives at that quantile, nothing
// (NaN) when it lies beyond every replicate at the edges.
CBandWindow ReadBootstrapGrid(const CBootstrapGrid& grid, double observedH);

// The index of the grid h nearest to h (in points and evaluations).
std::size_t NearestGridIndex(const CBootstrapGrid& grid, double h);
