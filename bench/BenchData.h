#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/GrowArray.h"

// Data shared by the benchmarks: a random walk from a fixed seed (the same on
// every run) and a scratch directory that is removed when the program ends.
namespace bench {

// n steps of a random walk starting at 1000, steps uniform in [-1, 1).
std::vector<double> RandomWalk(std::size_t n, std::uint64_t seed = 20240611u);

// That walk as a series: X 0, 1, ..., n - 1 and Y the walk.
CSeriesArray RandomWalkSeries(std::size_t n);

// A directory of its own under the system's temporary directory, created on
// first use and removed with everything in it at exit.
const std::string& ScratchDir();

// Ends the program with "kestrin-bench: what" when a benchmark cannot set up
// its data.
[[noreturn]] void Die(const char* what);

// Size of a file in bytes, or 0 when it cannot be read.
std::uint64_t FileSize(const std::string& path);

} // namespace bench
