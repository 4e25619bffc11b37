#pragma once

// The parameters of a curve-length estimate, always passed together so
// that they cannot be swapped: the embedding dimension D, the number of
// lags M and the first lag of the fit r_min (the line runs through lags
// r_min..M; 1, the whole table, unless the user chose otherwise). Write
// them by name: CEstimatorSetting{.nD = 4, .nM = 3}.
struct CEstimatorSetting
{
    int nD = 4;
    int nM = 3;
    int nRMin = 1;

    friend bool operator==(const CEstimatorSetting&, const CEstimatorSetting&) = default;
};
