#include "analysis/Whittle.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

#include <kissfft/kissfft.hh>

bool CWhittleResult::Valid() const
{
    return std::isfinite(h);
}

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// True when n has no prime factor above 5 (kissfft's fast radices).
bool SmoothLength(std::size_t n)
{
    for (const std::size_t p : {2u, 3u, 5u})
        while (n % p == 0)
            n /= p;
    return n == 1;
}

// The discrete Fourier transform of n real values, X_k = sum_t x_t
// e^(-2 pi i k t / n), for k = 0 .. n - 1. Lengths with a prime factor
// above 5 go through Bluestein's chirp transform on a power of two, so that
// no length costs more than a few transforms of at most 4n points.
std::vector<std::complex<double>> RealDft(const double* x, std::size_t n)
{
    std::vector<std::complex<double>> out(n);
    if (SmoothLength(n)) {
        std::vector<std::complex<double>> in(x, x + n);
        kissfft<double>(n, false).transform(in.data(), out.data());
        return out;
    }
    std::size_t m = 1;
    while (m < 2 * n - 1)
        m *= 2;
    // w_t = e^(-i pi t^2 / n), t^2 taken modulo 2n so that the angle stays exact.
    std::vector<std::complex<double>> chirp(n);
    // t^2 mod 2n stepped as (t + 1)^2 = t^2 + 2t + 1, each step below 2n.
    for (std::size_t t = 0, square = 0; t < n; square = (square + 2 * t + 1) % (2 * n), ++t)
        chirp[t] = std::polar(1.0, -std::numbers::pi * static_cast<double>(square) / static_cast<double>(n));
    std::vector<std::complex<double>> a(m), b(m), fa(m), fb(m);
    for (std::size_t t = 0; t < n; ++t)
        a[t] = x[t] * chirp[t];
    b[0] = std::conj(chirp[0]);
    for (std::size_t t = 1; t < n; ++t)
        b[t] = b[m - t] = std::conj(chirp[t]);
    const kissfft<double> forward(m, false), inverse(m, true);
    forward.transform(a.data(), fa.data());
    forward.transform(b.data(), fb.data());
    for (std::size_t k = 0; k < m; ++k)
        fa[k] *= fb[k];
    inverse.transform(fa.data(), a.data());
    for (std::size_t k = 0; k < n; ++k)
        out[k] = chirp[k] * a[k] / static_cast<double>(m);
    return out;
}

// The logarithms of |2 pi j + lambda| for j = -K .. K and of the tails'
// points 2 pi (K + 1/2) +- lambda, per frequency: they do not depend on H,
// so each evaluation of the objective takes only exponentials.
struct CAliasLogs
{
    static constexpr int kTerms = 2 * kWhittleAliasTerms + 1;
    std::vector<double> terms; // kTerms per frequency
    std::vector<double> tails; // 2 per frequency

    explicit CAliasLogs(const std::vector<double>& lambdas)
    {
        for (const double lambda : lambdas) {
            for (int j = -kWhittleAliasTerms; j <= kWhittleAliasTerms; ++j)
                terms.push_back(std::log(std::fabs(kTwoPi * j + lambda)));
            const double edge = kTwoPi * (kWhittleAliasTerms + 0.5);
            tails.push_back(std::log(edge + lambda));
            tails.push_back(std::log(edge - lambda));
        }
    }

    // sum_j |2 pi j + lambda_k|^(-d), the tails by the midpoint
    // Euler-Maclaurin formula: the integral from K + 1/2 to infinity of
    // (2 pi x +- lambda)^(-d), (2 pi)^(-1) u^(1-d) / (d - 1), plus the
    // correction g'(K + 1/2) / 24 = -2 pi d u^(-d-1) / 24.
    double AliasSum(std::size_t k, double d) const
    {
        const double* logs = terms.data() + k * kTerms;
        double sum = 0.0;
        for (int j = 0; j < kTerms; ++j)
            sum += std::exp(-d * logs[j]);
        for (int side = 0; side < 2; ++side) {
            const double logU = tails[2 * k + side];
            sum += std::exp((1.0 - d) * logU) / (kTwoPi * (d - 1.0)) - kTwoPi * d * std::exp(-(d + 1.0) * logU) / 24.0;
        }
        return sum;
    }
};

// The spectral density without the factor 2 sin(pi H) Gamma(2H + 1), which
// the profiled objective does not see: (1 - cos lambda) times the alias sum.
struct CWhittleObjective
{
    std::vector<double> periodogram;
    std::vector<double> logOneMinusCos;
    CAliasLogs logs;

    CWhittleObjective(std::vector<double> i, const std::vector<double>& lambdas)
        : periodogram(std::move(i)), logs(lambdas)
    {
        for (const double lambda : lambdas)
            logOneMinusCos.push_back(std::log(1.0 - std::cos(lambda)));
    }

    double LogShape(std::size_t k, double h) const
    {
        return logOneMinusCos[k] + std::log(logs.AliasSum(k, 2.0 * h + 1.0));
    }

    double operator()(double h) const
    {
        double ratio = 0.0, logs_ = 0.0;
        for (std::size_t k = 0; k < periodogram.size(); ++k) {
            const double logF = LogShape(k, h);
            ratio += periodogram[k] * std::exp(-logF);
            logs_ += logF;
        }
        const double m = static_cast<double>(periodogram.size());
        return std::log(ratio / m) + logs_ / m;
    }
};

// Golden-section search for the least Q on [a, b] to within tolerance.
template <typename F>
double GoldenMinimum(const F& q, double a, double b, double tolerance)
{
    const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
    double c = b - ratio * (b - a), d = a + ratio * (b - a);
    double qc = q(c), qd = q(d);
    while (b - a > tolerance) {
        if (qc <= qd) {
            b = d;
            d = c;
            qd = qc;
            c = b - ratio * (b - a);
            qc = q(c);
        } else {
            a = c;
            c = d;
            qc = qd;
            d = a + ratio * (b - a);
            qd = q(d);
        }
    }
    return 0.5 * (a + b);
}

} // namespace

double FgnSpectralDensity(double lambda, double h)
{
    const std::vector<double> lambdas{lambda};
    const CAliasLogs logs(lambdas);
    return 2.0 * std::sin(std::numbers::pi * h) * std::tgamma(2.0 * h + 1.0) * (1.0 - std::cos(lambda)) *
           logs.AliasSum(0, 2.0 * h + 1.0);
}

std::vector<double> Periodogram(const double* values, std::size_t count)
{
    std::vector<double> out;
    if (count < 3)
        return out;
    const std::vector<std::complex<double>> dft = RealDft(values, count);
    const double scale = 1.0 / (kTwoPi * static_cast<double>(count));
    for (std::size_t k = 1; k <= (count - 1) / 2; ++k)
        out.push_back(std::norm(dft[k]) * scale);
    return out;
}

CWhittleResult WhittleFgn(const double* noise, std::size_t count, CWhittleFit* fit)
{
    CWhittleResult result;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    result.h = result.standardError = nan;
    if (count < kWhittleMinCount)
        return result;
    for (std::size_t i = 0; i < count; ++i)
        if (!std::isfinite(noise[i]))
            return result;
    // A constant series has nothing at any Fourier frequency (its periodogram
    // is rounding alone).
    const auto [least, largest] = std::minmax_element(noise, noise + count);
    if (*least == *largest)
        return result;
    std::vector<double> periodogram = Periodogram(noise, count);
    std::vector<double> lambdas;
    for (std::size_t k = 1; k <= periodogram.size(); ++k)
        lambdas.push_back(kTwoPi * static_cast<double>(k) / static_cast<double>(count));
    if (fit) {
        fit->lambdas = lambdas;
        fit->periodogram = periodogram;
    }
    const CWhittleObjective q(std::move(periodogram), lambdas);
    result.frequencies = static_cast<int>(lambdas.size());
    result.h = GoldenMinimum(q, kWhittleLowestH, kWhittleHighestH, kWhittleTolerance);
    // Fisher information of H with the scale free: the spread of
    // w_k = d log f_k / dH (central differences; the factor that does not
    // depend on lambda drops out of the spread).
    const double step = std::min({1e-4, result.h - 0.5 * kWhittleLowestH, 1.0 - result.h});
    std::vector<double> w;
    double mean = 0.0;
    for (std::size_t k = 0; k < lambdas.size(); ++k) {
        w.push_back((q.LogShape(k, result.h + step) - q.LogShape(k, result.h - step)) / (2.0 * step));
        mean += w.back();
    }
    mean /= static_cast<double>(w.size());
    double information = 0.0;
    for (const double v : w)
        information += (v - mean) * (v - mean);
    result.standardError = information > 0.0 ? 1.0 / std::sqrt(information) : nan;
    if (fit) {
        // The shape at the estimate times the scale the objective profiled
        // out, (1/m) sum_k I_k / shape_k.
        double scale = 0.0;
        for (std::size_t k = 0; k < lambdas.size(); ++k)
            scale += q.periodogram[k] * std::exp(-q.LogShape(k, result.h));
        scale /= static_cast<double>(lambdas.size());
        for (std::size_t k = 0; k < lambdas.size(); ++k)
            fit->fitted.push_back(scale * std::exp(q.LogShape(k, result.h)));
    }
    return result;
}
