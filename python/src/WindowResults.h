#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "python/src/EstimateResult.h"
#include "core/GrowArray.h"
#include "document/IntervalBand.h"

namespace py = pybind11;

// The results of the window analyses as Python sees them; each pickles.

// Sliding windows: one result per window (X = offset + x_min).
struct SlidingResult
{
    CHPointArray windows;
    double xMin = 0.0;
    bool computed = true; // false: the results a document held
    std::int32_t width = 0;
    std::int32_t spacing = 0;
    std::int32_t nD = 0;
    std::int32_t nM = 0;
    double plotPoint = 0.5;
    std::vector<std::string> warnings;
    // The interval band, window for window (bootstrap=True).
    std::optional<CIntervalBand> band;
};

// Slope windows: one least-squares slope per window of `size` points.
struct SlopesResult
{
    CHPointArray slopes;
    double xMin = 0.0;
    std::int32_t size = 0;
    std::vector<std::string> warnings;
};

// The correlation of the sliding-window H with the slopes `offset` points
// to their left, and the pairs behind it (H, slope).
struct CorrelationResult
{
    std::int32_t size = 0;
    std::int32_t offset = 0;
    double origin = 0.0;
    double correlation = 0.0;
    CHPointArray pairs;
    int windowCount = 0;
    int slopeCount = 0;
    std::vector<std::string> warnings;
};

// The interval estimators between tabs.
struct TabsResult
{
    int nD = 4;
    int nM = 3;
    std::vector<std::int32_t> tabs;
    std::vector<EstimateResult> intervals;
    std::vector<std::string> warnings;
};

// Registers the classes (WindowResults.cpp).
void RegisterWindowResults(py::module_& m);

// A sliding result of a document's own windows.
SlidingResult DocumentWindows(const class CKestrinDoc& doc);

// A pandas DataFrame of the columns (ImportError naming the package when
// pandas is missing).
py::object Frame(py::dict columns);
