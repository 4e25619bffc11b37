#include "analysis/SeriesProfile.h"

void ProfileInPlace(double* values, std::size_t count)
{
    if (count == 0)
        return;
    double total = 0.0;
    for (std::size_t i = 0; i < count; ++i)
        total += values[i];
    const double mean = total / static_cast<double>(count);
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        sum += values[i] - mean;
        values[i] = sum;
    }
}

std::vector<double> Increments(const double* values, std::size_t count)
{
    std::vector<double> increments;
    increments.reserve(count);
    for (std::size_t i = 1; i < count; ++i)
        increments.push_back(values[i] - values[i - 1]);
    return increments;
}
