#include "analysis/FbmSimulation.h"

#include <algorithm>
#include <cmath>

#include <kissfft/kissfft.hh>

double FgnAutocovariance(double h, std::int64_t k)
{
    const double a = std::fabs(static_cast<double>(k));
    const double twoH = 2.0 * h;
    if (a < 2.0) {
        // Lags 0 and 1 directly: 1 and (2^2h - 2) / 2.
        if (a == 0.0)
            return 1.0;
        return 0.5 * (std::pow(2.0, twoH) - 2.0);
    }
    // k^2h * ((1 + 1/k)^2h - 2 + (1 - 1/k)^2h) / 2, the bracket from
    // expm1/log1p so that its near-cancellation loses nothing.
    const double up = std::expm1(twoH * std::log1p(1.0 / a));
    const double down = std::expm1(twoH * std::log1p(-1.0 / a));
    return 0.5 * std::pow(a, twoH) * (up + down);
}

namespace {

// SplitMix64's finaliser: spreads every bit of x over the result.
std::uint64_t Mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

} // namespace

CNormalStream::CNormalStream(std::uint64_t seed, std::uint64_t stream)
    : m_engine(Mix(Mix(seed) ^ stream))
{
}

double CNormalStream::Uniform()
{
    // In (-1, 1): 53 random bits, centred.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-52 - 1.0;
}

void CNormalStream::Fill(double* out, std::size_t count)
{
    std::size_t i = 0;
    while (i < count) {
        double u, v, s;
        do {
            u = Uniform();
            v = Uniform();
            s = u * u + v * v;
        } while (s >= 1.0 || s == 0.0);
        const double f = std::sqrt(-2.0 * std::log(s) / s);
        out[i++] = u * f;
        if (i < count)
            out[i++] = v * f;
    }
}

std::size_t FgnEmbeddingSize(int n)
{
    const std::size_t wanted = 2 * static_cast<std::size_t>(std::max(n, 1));
    std::size_t m = 2;
    while (m < wanted)
        m *= 2;
    return m;
}

CFgnGenerator::CFgnGenerator(int n, double h) : m_n(std::max(n, 1))
{
    const std::size_t m = FgnEmbeddingSize(m_n);
    // First row of the circulant: c_j = gamma(min(j, m - j)).
    std::vector<std::complex<double>> row(m), eigen(m);
    for (std::size_t j = 0; j < m; ++j)
        row[j] = FgnAutocovariance(h, static_cast<std::int64_t>(std::min(j, m - j)));
    m_fft = std::make_shared<const kissfft<double>>(m, false);
    m_fft->transform(row.data(), eigen.data());
    m_scale.resize(m);
    for (std::size_t k = 0; k < m; ++k) {
        // The eigenvalues are real and not negative; rounding may leave a
        // tiny negative one, taken as 0.
        const double lambda = std::max(eigen[k].real(), 0.0);
        m_scale[k] = std::sqrt(lambda / static_cast<double>(m));
    }
}

void CFgnGenerator::Generate(const double* normals, double* first, double* second,
                             std::vector<std::complex<double>>& work) const
{
    const std::size_t m = m_scale.size();
    work.resize(2 * m);
    std::complex<double>* in = work.data();
    std::complex<double>* out = work.data() + m;
    for (std::size_t k = 0; k < m; ++k)
        in[k] = std::complex<double>(m_scale[k] * normals[2 * k], m_scale[k] * normals[2 * k + 1]);
    m_fft->transform(in, out);
    for (int j = 0; j < m_n; ++j) {
        first[j] = out[j].real();
        second[j] = out[j].imag();
    }
}

void CumulativeSum(double* x, std::size_t n)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += x[i];
        x[i] = sum;
    }
}

std::vector<double> SimulateFbm(int n, double h, std::uint64_t seed)
{
    const CFgnGenerator generator(n, h);
    std::vector<double> normals(generator.NormalsPerCall());
    CNormalStream(seed, 0).Fill(normals.data(), normals.size());
    std::vector<double> path(static_cast<std::size_t>(generator.Count())), other(path.size());
    std::vector<std::complex<double>> work;
    generator.Generate(normals.data(), path.data(), other.data(), work);
    CumulativeSum(path.data(), path.size());
    return path;
}
