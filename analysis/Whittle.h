#pragma once

#include <cstddef>
#include <vector>

// The Whittle estimate of H for fractional Gaussian noise. The periodogram
// I(lambda_k) = |sum_t x_t e^(-i lambda_k t)|^2 / (2 pi n) at the Fourier
// frequencies lambda_k = 2 pi k / n, k = 1 .. floor((n - 1) / 2), is set
// against the noise's spectral density f(lambda; H); with the scale profiled
// out the objective is
//   Q(H) = log( (1/m) sum_k I_k / f_k ) + (1/m) sum_k log f_k,
// minimised over H in [0.001, 0.999] by golden-section search to 1e-6. The
// standard error comes from the Fisher information of the same
// approximation (each I_k about f_k times a standard exponential, the scale
// a free parameter): 1 / sqrt( sum_k (w_k - mean w)^2 ) with
// w_k = d log f(lambda_k; H) / dH at the estimate.
//
// The estimate assumes Gaussian noise with the fGn covariance (no trend, no
// short-range structure): a motion is estimated by its increments.

// The aliasing sum's terms j = -K .. K are summed exactly; the two tails
// j > K and j < -K by the midpoint Euler-Maclaurin formula (the integral
// from K + 1/2 plus its first correction). The terms are completely
// monotone in j, so the error of each tail is at most the first term left
// out, 7/5760 |g'''(K + 1/2)| with g(x) = (2 pi x +- lambda)^(-2H-1):
// relative to the sum, at most 9e-5 at any H in (0, 1) and lambda in
// (0, pi] for K = 3 (largest as H approaches 0); measured against a sum of
// 200,000 terms, at most 1.5e-5. A relative error that small and smooth in
// lambda moves the estimate by far less than its standard error.
constexpr int kWhittleAliasTerms = 3;
constexpr double kWhittleLowestH = 0.001;
constexpr double kWhittleHighestH = 0.999;
constexpr double kWhittleTolerance = 1e-6;

// f(lambda; H) = 2 sin(pi H) Gamma(2H + 1) (1 - cos lambda)
//                * sum_j |2 pi j + lambda|^(-2H-1)
// for unit-variance fGn, lambda in (0, pi]: the Fourier series of the
// autocovariance, f = sum_k gamma(k) e^(-i k lambda) (1 for white noise).
double FgnSpectralDensity(double lambda, double h);

struct CWhittleResult
{
    double h = 0.0;             // the estimate (NaN: too short)
    double standardError = 0.0; // asymptotic, from the Fisher information
    int frequencies = 0;        // the Fourier frequencies used (m)

    bool Valid() const;
};

// The fewest values Whittle takes: three Fourier frequencies.
constexpr std::size_t kWhittleMinCount = 7;

// What the estimate set against each other, for its plot: the Fourier
// frequencies lambda_k, the periodogram I_k at them and the fitted spectral
// density, the fGn shape at the estimate times the scale the objective
// profiled out, (1/m) sum_k I_k / shape_k (so that the mean of I_k over the
// fitted density is 1).
struct CWhittleFit
{
    std::vector<double> lambdas;
    std::vector<double> periodogram;
    std::vector<double> fitted;
};

// The Whittle fGn estimate of a noise of count values; with fit, its
// periodogram and fitted density too (left empty when there is no
// estimate).
CWhittleResult WhittleFgn(const double* noise, std::size_t count, CWhittleFit* fit = nullptr);

// The periodogram at the Fourier frequencies k = 1 .. floor((n - 1) / 2),
// I_k = |DFT_k|^2 / (2 pi n). Exposed for the tests.
std::vector<double> Periodogram(const double* values, std::size_t count);
