#pragma once

#include <cstddef>
#include <vector>

// The profile of a series in place: each value becomes the running sum of
// the departures of the values from their mean, summed in series order (the
// mean is the plain sum in series order divided by the count). File >
// Profile, kestrin-cli profile, DFA and the bootstrap's profile model all
// take it from here, so they agree bit for bit.
void ProfileInPlace(double* values, std::size_t count);

// The increments of a series, x[i] - x[i - 1] for i = 1 .. count - 1: a
// motion back to its noise.
std::vector<double> Increments(const double* values, std::size_t count);
