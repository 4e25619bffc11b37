#include "SeriesProfile.h"

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
