#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

template <typename Scalar>
class kissfft;

// Exact simulation of fractional Gaussian noise (the increments of
// fractional Brownian motion) by circulant embedding (Davies and Harte):
// the covariance of n noise values is embedded in a circulant matrix of
// size m (a power of two, at least 2n) whose eigenvalues, the discrete
// Fourier transform of its first row, are never negative for this
// covariance. Gaussian weights scaled by the square roots of the eigenvalues
// and transformed back give noise with exactly the wanted covariance.

// Autocovariance of unit-variance fractional Gaussian noise with exponent h
// at lag k: (|k+1|^2h - 2|k|^2h + |k-1|^2h) / 2, computed so that it stays
// accurate at long lags where the three powers nearly cancel.
double FgnAutocovariance(double h, std::int64_t k);

// Normal draws of one stream, fixed by (seed, stream) alone: a 64-bit
// Mersenne Twister seeded from a mix of the two, uniforms from its top 53
// bits and normals by Marsaglia's polar method. The same on every platform
// and whatever thread asks.
class CNormalStream
{
public:
    CNormalStream(std::uint64_t seed, std::uint64_t stream);
    void Fill(double* out, std::size_t count);

private:
    std::mt19937_64 m_engine;
    double Uniform();
};

// The embedding's size m for n values: the least power of two >= 2n.
std::size_t FgnEmbeddingSize(int n);

// Noise of n values with exponent h. Construction computes the embedding's
// eigenvalues once; Generate then makes two independent paths per call
// from 2m normals (the real and the imaginary part of one transform are
// independent, each with the wanted covariance).
class CFgnGenerator
{
public:
    CFgnGenerator(int n, double h);

    int Count() const { return m_n; }
    // The number of normal draws one call of Generate takes: 2m.
    std::size_t NormalsPerCall() const { return 2 * m_scale.size(); }

    // Writes two paths of n values into first and second, from
    // NormalsPerCall() normals. work is resized as needed and may be reused
    // between calls.
    void Generate(const double* normals, double* first, double* second,
                  std::vector<std::complex<double>>& work) const;

private:
    int m_n;
    std::vector<double> m_scale; // sqrt(eigenvalue / m)
    std::shared_ptr<const kissfft<double>> m_fft;
};

// The running sum in place: noise to motion.
void CumulativeSum(double* x, std::size_t n);

// One path of n values of fractional Brownian motion with exponent h (the
// running sum of noise from stream 0 of seed): a series of known H for the
// tests, the benchmarks and the manual's bias table.
std::vector<double> SimulateFbm(int n, double h, std::uint64_t seed);
