// kestrin-methods-study: how the three estimates of H (curve length D 4 M 3,
// DFA-1, Whittle fGn) fare on exact fractional Brownian motion read as a
// motion. A program run by hand on a release build.
//
//   kestrin-methods-study bias [n] [replicates]
//     per true H 0.2 .. 0.9: each method's mean bias and root mean square
//     error over the replicates (default n 4096, 50 replicates);
//   kestrin-methods-study coverage [n] [replicates] [bootstrap replicates] [H...]
//     per true H: after each method's bootstrap (all from the same seed),
//     the bias of the corrected H (its mean less the true H), its mean
//     absolute error and the share of 95 % intervals that hold the true H
//     (default n 4096, 20, 100, H 0.3 0.7).
//   KESTRIN_STUDY_METHODS (e.g. "dfa", "curve,whittle") limits the methods.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/FbmSimulation.h"
#include "core/HDataSet.h"
#include "analysis/MethodComparison.h"

namespace {

// The methods studied: all, or those named in KESTRIN_STUDY_METHODS (e.g.
// "dfa" or "curve,whittle"), so that one method's study runs alone.
std::vector<EHMethod> StudiedMethods()
{
    const char* named = std::getenv("KESTRIN_STUDY_METHODS");
    std::vector<EHMethod> methods;
    for (const EHMethod m : kAllHMethods)
        if (named == nullptr || std::string(named).find(HMethodWord(m)) != std::string::npos)
            methods.push_back(m);
    return methods;
}

const std::vector<EHMethod> kMethods = StudiedMethods();

CHDataSet EstimatorOf(const std::vector<double>& path)
{
    CHDataSet set({.nD = 4, .nM = 3});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = path;
    set.Compute();
    return set;
}

// Replicate r of exponent h: its own seed, apart from the bootstrap's.
std::vector<double> Path(int n, double h, int r)
{
    return SimulateFbm(n, h, 1000003u * static_cast<std::uint64_t>(h * 1000) + static_cast<std::uint64_t>(r));
}

void Bias(int n, int replicates)
{
    std::printf("n %d, %d replicates of fBm per H, read as a motion\n", n, replicates);
    std::printf("%-5s", "H");
    for (const EHMethod m : kMethods)
        std::printf("  %-8s bias    RMSE  ", HMethodWord(m));
    std::printf("\n");
    for (int step = 2; step <= 9; ++step) {
        const double h = step / 10.0;
        std::vector<double> sum(kMethods.size()), squares(kMethods.size());
        for (int r = 0; r < replicates; ++r) {
            const CHDataSet set = EstimatorOf(Path(n, h, r));
            const CMethodComparison c = CompareMethods(set, kMethods, ESeriesInput::Motion, false);
            for (std::size_t m = 0; m < kMethods.size(); ++m) {
                const double e = c.rows[m].estimate.h - h;
                sum[m] += e;
                squares[m] += e * e;
            }
        }
        std::printf("%-5.1f", h);
        for (std::size_t m = 0; m < kMethods.size(); ++m)
            std::printf("  %-8s %+.4f %.4f", "", sum[m] / replicates, std::sqrt(squares[m] / replicates));
        std::printf("\n");
        std::fflush(stdout);
    }
}

void Coverage(int n, int replicates, int bootstrapReplicates, const std::vector<double>& exponents)
{
    std::printf("n %d, %d replicates of fBm per H, %d bootstrap replicates each, read as a motion\n", n, replicates,
                bootstrapReplicates);
    for (const double h : exponents) {
        std::vector<double> signed_(kMethods.size()), absolute(kMethods.size());
        std::vector<int> covered(kMethods.size()), reached(kMethods.size());
        for (int r = 0; r < replicates; ++r) {
            const CHDataSet set = EstimatorOf(Path(n, h, r));
            CSeriesBootstrapOptions options;
            options.replicates = bootstrapReplicates;
            options.modelCheck = false;
            const CMethodComparison c = CompareMethods(set, kMethods, ESeriesInput::Motion, false, &options);
            for (std::size_t m = 0; m < kMethods.size(); ++m) {
                const CBootstrapResult& b = *c.rows[m].bootstrap;
                if (!b.Reached() || !b.low || !b.high)
                    continue;
                ++reached[m];
                signed_[m] += *b.corrected - h;
                absolute[m] += std::fabs(*b.corrected - h);
                covered[m] += (*b.low <= h && h <= *b.high) ? 1 : 0;
            }
        }
        std::printf("H %.1f", h);
        for (std::size_t m = 0; m < kMethods.size(); ++m)
            std::printf("  %s: bias %+.4f, mean |error| %.4f, coverage %d/%d", HMethodWord(kMethods[m]),
                        reached[m] ? signed_[m] / reached[m] : NAN, reached[m] ? absolute[m] / reached[m] : NAN,
                        covered[m], replicates);
        std::printf("\n");
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "bias";
    const auto arg = [&](int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; };
    if (what == "bias") {
        Bias(arg(2, 4096), arg(3, 50));
        return 0;
    }
    if (what == "coverage") {
        std::vector<double> exponents;
        for (int i = 5; i < argc; ++i)
            exponents.push_back(std::atof(argv[i]));
        if (exponents.empty())
            exponents = {0.3, 0.7};
        Coverage(arg(2, 4096), arg(3, 20), arg(4, 100), exponents);
        return 0;
    }
    std::fprintf(stderr, "usage: kestrin-methods-study bias|coverage ...\n");
    return 2;
}
