#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/GrowArray.h"
#include "core/OptimumM.h"
#include "core/simd/SimdLevel.h"
#include "analysis/WindowProgress.h"

class CKestrinDoc;

// The parameters of a sliding-window computation.
struct SlidingWindowParams
{
    std::int32_t width = 100;
    std::int32_t spacing = 1;
    std::int32_t nM = 0;
    std::int32_t nD = 6;
    // M of every window: the integer part of the square root of its width.
    bool useBestM = true;
    // Which point of a window its result is plotted at, as a fraction.
    double plotPoint = 0.5;
    // The first lag of every window's fit: the line runs through lags
    // nRMin..M (1, every lag, unless the user chose otherwise).
    std::int32_t nRMin = 1;
};

// Largest M a window computation accepts.
constexpr std::int32_t kMaxWindowM = kMaxLagCount;

// The first reason the parameters cannot be computed, in the order the
// Sliding Windows dialog checks them: "Spacing must be geater than 0.",
// "Width must be greater than 0." (zero or negative), then D or M out of
// range, then a first lag other than 1 outside 1..M - 1
// (FirstLagRangeMessage). Nothing when they can be. (The dialog's question about a width
// under 100 is not a refusal and is not asked here.)
std::optional<std::string> CheckSlidingWindowParams(const SlidingWindowParams& params);

// Number of windows over n points: the k = 0, 1, ... with
// width + k * spacing < n. 0 for width or spacing below 1.
std::int64_t CountSlidingWindows(std::int64_t n, std::int32_t width, std::int32_t spacing);

// The M a window of `width` values runs with.
std::int32_t WindowM(const SlidingWindowParams& params);

// How a computation runs; none of it changes a result.
struct SlidingWindowRun
{
    // Workers sharing the windows (0: the process's rule, see WorkerLimit).
    unsigned threads = 0;
    // The vector instructions the windows are summed with.
    SimdLevel lanes = SimdLevel::Automatic;
    // When given, receives every window's L(r): window k's L(r) at
    // k * M + r - 1.
    std::vector<double>* lengths = nullptr;
};

// One result per window, in window order: m_nCount = width, m_dY = H,
// m_dX = width * plotPoint + start, m_dB = b, m_dR = r, each bit for bit
// what a CHDataSet filled with the window's values computes. For every lag a
// segment's length is computed once and read by every window that contains
// it; each window adds its own lengths from 0.0 in segment order, many
// windows side by side in SIMD lanes. progress, if given, is called on this
// thread.
CHPointArray ComputeSlidingWindowResults(const CSeriesArray& series, const SlidingWindowParams& params,
                                         const PercentCallback& progress = {}, const SlidingWindowRun& run = {});

// The same results computed the plain way: one CHDataSet per window, filled
// and computed afresh (lengths as in SlidingWindowRun). The reference for
// the tests and the benchmark.
CHPointArray ComputeSlidingWindowResultsDirect(const CSeriesArray& series, const SlidingWindowParams& params,
                                               std::vector<double>* lengths = nullptr);

// The document operations, with their status texts and wait cursor.
//
// Empties the document's sliding-window results and their interval band
// and marks it modified ("Clearing Sliding Window Array...", then "Ready").
void ClearSlidingWindows(CKestrinDoc& doc);
// Replaces the results by a fresh computation: clears them (and their
// interval band, which IntervalBand.h's ComputeDocumentBand computes), stores the
// spacing in m_nSpacing and shows "Calculating Sliding Windows (%i %%)".
// Parameters that CheckSlidingWindowParams refuses change nothing and give
// false (the callers have refused them already, with the message).
bool ComputeSlidingWindows(CKestrinDoc& doc, const SlidingWindowParams& params);
// Moves every result to its window's plotPoint: m_dX = m_nCount * plotPoint
// + i * m_nSpacing ("Resetting plot points (%i %%)"). Does nothing to a
// document without results; otherwise marks it modified.
void ResetPlotPoints(CKestrinDoc& doc, double plotPoint);
// The same on an array, without status texts.
void ResetPlotPositions(CHPointArray& windows, double plotPoint, std::int32_t spacing,
                        const PercentCallback& progress = {});
