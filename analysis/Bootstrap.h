#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CHDataSet;

// How far to trust an H estimate: a parametric bootstrap on fractional
// Brownian motion. For a trial exponent h, K replicates of fBm with n points
// are simulated exactly and estimated with the same D and M through
// CHDataSet; the replicates' estimates at h form a distribution. Bisection
// over h, with the same random numbers at every h tried, finds
//  - the corrected H: the h whose replicates' median equals the observed H;
//  - the low end of the interval: the h whose (1 + level)/2 quantile equals
//    the observed H; the high end: the h whose (1 - level)/2 quantile does.
// Quantiles interpolate linearly between order statistics.

constexpr int kDefaultBootstrapReplicates = 200;
constexpr std::uint64_t kDefaultBootstrapSeed = 20240615;
constexpr int kMaxBootstrapReplicates = 100000;
// The least number of values a bootstrap takes: fewer cannot be estimated
// with any lag.
constexpr int kMinBootstrapCount = 4;
// The most values a bootstrap takes: beyond, one replicate's transform alone
// would take hundreds of megabytes and the run hours.
constexpr int kMaxBootstrapCount = 1 << 20;

struct CBootstrapRequest
{
    int n = 0;         // values of the observed estimate
    int nD = 4;
    int nM = 3;
    double observedH = 0.0;
    int replicates = kDefaultBootstrapReplicates;
    std::uint64_t seed = kDefaultBootstrapSeed;
    double level = 0.95;
    // Worker threads: 0 for as many as the machine has. The results do not
    // depend on it.
    unsigned threads = 0;
};

// The request for an estimator as it was last computed: its n, D, M and H.
CBootstrapRequest BootstrapRequestFor(const CHDataSet& set);

struct CBootstrapResult
{
    int replicates = 0;
    std::uint64_t seed = 0;
    double level = 0.95;
    double observedH = 0.0;
    // Each is missing when no h in the searched range reaches the observed H.
    std::optional<double> corrected;
    std::optional<double> low;
    std::optional<double> high;
    bool cancelled = false;

    // The observed H is reached by some h: the corrected H exists.
    bool Reached() const { return corrected.has_value(); }
};

// Called on the calling thread with the fraction done (0..1); returning
// false cancels the run, which then ends with cancelled set and no values.
using BootstrapProgress = std::function<bool(double fraction)>;

// The range of trial exponents searched, inside (0, 1).
constexpr double kBootstrapLowestH = 1.0 / 128.0;
constexpr double kBootstrapHighestH = 127.0 / 128.0;

// Why a request cannot be run (fewer than kMinBootstrapCount or more than
// kMaxBootstrapCount values, replicates outside 1..kMaxBootstrapReplicates,
// D or M below 1, a level outside (0, 1), an observed H that is not a
// number); nothing when it can.
std::optional<std::string> CheckBootstrapRequest(const CBootstrapRequest& request);

// Runs the bootstrap. A request that CheckBootstrapRequest refuses gives a
// result with nothing reached.
CBootstrapResult RunBootstrap(const CBootstrapRequest& request, const BootstrapProgress& progress = {});

// The estimates of the replicates at one trial exponent, in replicate
// order: replicates 2p and 2p + 1 come from the normal stream p of the
// seed. Exposed for the tests and the benchmark.
std::vector<double> BootstrapEstimates(const CBootstrapRequest& request, double h);

// The q-quantile of ascending values, interpolating linearly between order
// statistics: position (count - 1) * q.
double SortedQuantile(const std::vector<double>& sorted, double q);
