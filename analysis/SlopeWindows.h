#pragma once

#include <cstdint>

#include "core/GrowArray.h"
#include "analysis/WindowProgress.h"

class CKestrinDoc;

// Smallest and largest slope window size the dialog and the command line
// accept.
constexpr std::int32_t kMinSlopeWindow = 1;
constexpr std::int32_t kMaxSlopeWindow = 5000;

// One result per window of `size` consecutive points, i = 0, 1, ... while
// size + i < n: m_dY = the least-squares slope of the window's points
// (exactly LeastSquaresSlope's arithmetic, without copying them: results
// are bit for bit those of LeastSquaresSlope on a copy of the window),
// m_dX = i + size / 2 (integer division), the other fields 0. Nothing for
// size < 1 or size >= n. Blocks of windows are summed side by side in SIMD
// registers and shared between workers (0: the process's rule, see
// WorkerLimit); neither changes any result. progress, if given, is called on
// this thread with each percentage the window loop passes (see
// PercentCallback): for fewer than 100 windows only those it shows.
CHPointArray ComputeSlopeWindowResults(const CSeriesArray& series, std::int32_t size,
                                       const PercentCallback& progress = {}, unsigned threads = 0);

// The same with the instructions every x86-64 processor has (SSE2), even
// where wider registers are available, and plain C++ on other processors:
// lets the tests check both ways.
CHPointArray ComputeSlopeWindowResultsBaseline(const CSeriesArray& series, std::int32_t size, unsigned threads = 0);

// Replaces the document's m_slopes ("Preparing...", then
// "Calculating Slope Windows (%i %%)", "Ready"). Does not mark it modified:
// slope results are never saved.
void CalculateSlopeWindows(CKestrinDoc& doc, std::int32_t size);
