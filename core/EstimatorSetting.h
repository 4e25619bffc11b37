#pragma once

// The two parameters of a curve-length estimate, always passed together so
// that they cannot be swapped: the embedding dimension D and the number of
// lags M. Write them by name: CEstimatorSetting{.nD = 4, .nM = 3}.
struct CEstimatorSetting
{
    int nD = 4;
    int nM = 3;

    friend bool operator==(const CEstimatorSetting&, const CEstimatorSetting&) = default;
};
