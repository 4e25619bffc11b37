#pragma once

#include <cstdint>

#include <pybind11/pybind11.h>

#include "analysis/Bootstrap.h"
#include "analysis/SeriesKind.h"

namespace py = pybind11;

struct EstimateResult;

// The bootstrap's arguments as Python gives them, checked with the command
// line's words (ValueError, TypeError).
struct BootstrapSettings
{
    int replicates = kDefaultBootstrapReplicates;
    std::uint64_t seed = kDefaultBootstrapSeed;
    double level = 0.95;
    unsigned threads = 0;
    ESeriesInput input = ESeriesInput::Auto;
};
BootstrapSettings ReadBootstrapSettings(py::handle replicates, py::handle seed, py::handle level, py::handle threads,
                                        py::handle input = py::str("auto"));

// The series options of an estimate's bootstrap (its values, whether they
// are a profile); ValueError "<what>: ..." when it kept no values.
CSeriesBootstrapOptions SeriesOptionsOf(const EstimateResult& estimate, const BootstrapSettings& settings,
                                        const char* what);

// The request for an estimate as the command line makes it; ValueError
// "bootstrap: ..." with the engine's reason when it cannot be run.
CBootstrapRequest BootstrapRequestOf(const EstimateResult& estimate, const BootstrapSettings& settings);

// Puts into result what H must be read with (BootstrapReadingWarnings),
// unless it was cancelled.
void SayReadingWarnings(const EstimateResult& estimate, CBootstrapResult& result);
