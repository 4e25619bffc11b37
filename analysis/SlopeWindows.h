#pragma once

#include <cstdint>

#include "GrowArray.h"
#include "WindowProgress.h"

class CKestrinDoc;

// Smallest and largest slope window size the dialog and the command line
// accept.
constexpr std::int32_t kMinSlopeWindow = 1;
constexpr std::int32_t kMaxSlopeWindow = 5000;

// One result per window of `size` consecutive points, i = 0, 1, ... while
// size + i < n: m_dY = the least-squares slope of the window's points
// (exactly LeastSquaresSlope's arithmetic, without copying them),
// m_dX = i + size / 2 (integer division), the other fields 0. Nothing for
// size < 1 or size >= n. progress, if given, is called on this thread.
CHPointArray ComputeSlopeWindowResults(const CHPointArray& series, std::int32_t size,
                                       const PercentCallback& progress = {}, unsigned threads = 0);

// Replaces the document's m_slopes ("Preparing...", then
// "Calculating Slope Windows (%i %%)", "Ready"). Does not mark it modified:
// slope results are never saved.
void CalculateSlopeWindows(CKestrinDoc& doc, std::int32_t size);
