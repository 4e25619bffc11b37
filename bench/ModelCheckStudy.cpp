// kestrin-model-check-study: the measurements behind the bootstrap's
// noise-or-motion grey zone, its model check and its ends (a program run by
// hand; its tables go into the manual and the change notes).
//
//   alpha        DFA-1 alpha of fGn and fBm: mean and spread by n and H
//   unreachable  genuine fBm at H 0.1 and 0.95 called unreachable
//   coverage     coverage of the interval and edge reports on exact fBm
//   alarms       the model check's false alarms on exact fBm
//   power        the model check on series that are not fBm
//   bias         each model's median raw estimate against its true H
//   mcerror      the reported Monte-Carlo errors against the spread over seeds
//   nile FILE    the Nile minima worked example (series and its profile)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "analysis/Bootstrap.h"
#include "analysis/BootstrapText.h"
#include "analysis/Dfa.h"
#include "analysis/FbmSimulation.h"
#include "core/HDataSet.h"
#include "analysis/SeriesKind.h"
#include "analysis/SeriesProfile.h"

namespace {

std::vector<double> Normals(int n, std::uint64_t seed, std::uint64_t stream)
{
    std::vector<double> z(static_cast<std::size_t>(n));
    CNormalStream(seed, stream).Fill(z.data(), z.size());
    return z;
}

std::vector<double> Fgn(int n, double h, std::uint64_t seed)
{
    std::vector<double> motion = SimulateFbm(n, h, seed);
    std::vector<double> noise(motion.size());
    for (std::size_t i = 0; i < motion.size(); ++i)
        noise[i] = motion[i] - (i ? motion[i - 1] : 0.0);
    return noise;
}

std::vector<double> Cumulated(std::vector<double> x)
{
    CumulativeSum(x.data(), x.size());
    return x;
}

std::vector<double> Ar1(int n, double phi, std::uint64_t seed)
{
    const std::vector<double> z = Normals(n + 500, seed, 1);
    std::vector<double> x;
    double v = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        v = phi * v + z[i];
        if (i >= 500)
            x.push_back(v);
    }
    return x;
}

// ARFIMA(1, d, 0): fractionally integrated noise (MA weights over a long
// burn-in) passed through AR(1).
std::vector<double> Arfima(int n, double phi, double d, std::uint64_t seed)
{
    const int burn = 4 * n;
    const int total = n + burn;
    const std::vector<double> z = Normals(total, seed, 2);
    std::vector<double> psi(static_cast<std::size_t>(total));
    psi[0] = 1.0;
    for (int k = 1; k < total; ++k)
        psi[k] = psi[k - 1] * (k - 1 + d) / k;
    std::vector<double> x;
    double v = 0.0;
    for (int t = 0; t < total; ++t) {
        double u = 0.0;
        if (t >= burn - 100)
            for (int k = 0; k <= t; ++k)
                u += psi[k] * z[t - k];
        v = phi * v + u;
        if (t >= burn)
            x.push_back(v);
    }
    return x;
}

double Estimate(const std::vector<double>& x, int nD, int nM)
{
    CHDataSet set({.nD = nD, .nM = nM});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = x;
    set.Compute();
    return set.GetH();
}

CBootstrapResult Pipeline(const std::vector<double>& x, bool isProfile, int replicates, std::uint64_t seed,
                          CSeriesDecision* decisionOut = nullptr)
{
    CHDataSet set({.nD = 4, .nM = 3});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = x;
    set.Compute();
    const CSeriesDecision decision = DecideSeriesKind(x.data(), x.size(), ESeriesInput::Auto, isProfile);
    if (decisionOut)
        *decisionOut = decision;
    CBootstrapRequest request = BootstrapRequestFor(set, decision, true);
    request.replicates = replicates;
    request.seed = seed;
    return RunBootstrap(request);
}

void Alpha()
{
    std::printf("DFA-1 alpha: mean (sd) over 200 series\n%8s", "n");
    const double hs[] = {0.5, 0.9, 0.95};
    for (const double h : hs)
        std::printf("   fGn %.2f      ", h);
    for (const double h : {0.05, 0.1, 0.3})
        std::printf("   fBm %.2f      ", h);
    std::printf("\n");
    for (const int n : {256, 1024, 4096, 16384}) {
        std::printf("%8d", n);
        for (int kind = 0; kind < 6; ++kind) {
            const double h = kind < 3 ? hs[kind] : (kind == 3 ? 0.05 : kind == 4 ? 0.1 : 0.3);
            double s = 0, ss = 0;
            int grey = 0;
            const int count = 200;
            for (int i = 0; i < count; ++i) {
                std::vector<double> x = kind < 3 ? Fgn(n, h, 1000 + i) : SimulateFbm(n, h, 1000 + i);
                const double a = Dfa1(x.data(), x.size()).alpha;
                s += a;
                ss += a * a;
                grey += SeriesKindOfAlpha(a) == ESeriesKind::Unclear;
            }
            const double mean = s / count;
            std::printf("   %.3f (%.3f) %3d%%", mean, std::sqrt(ss / count - mean * mean), grey * 100 / count);
        }
        std::printf("\n");
    }
    std::printf("(the percentage: share in the grey zone %.2f..%.2f)\n", 1 - kSeriesKindGrey, 1 + kSeriesKindGrey);
    std::printf("\nRaw curve-length H (D 4 M 3) of persistent fGn estimated as it is, median of 100, n 2048\n");
    for (const double h : {0.75, 0.85, 0.95}) {
        std::vector<double> e;
        for (int i = 0; i < 100; ++i)
            e.push_back(Estimate(Fgn(2048, h, 500 + i), 4, 3));
        std::sort(e.begin(), e.end());
        std::printf("  fGn H %.2f: raw H %.3f (5%%..95%%: %.3f..%.3f)\n", h, SortedQuantile(e, 0.5),
                    SortedQuantile(e, 0.05), SortedQuantile(e, 0.95));
    }
}

void Unreachable(int count)
{
    std::printf("Genuine fBm called unreachable / edge-bound (corrected H), %d series each, 200 replicates\n", count);
    for (const int n : {1024, 4096}) {
        for (const double h : {0.1, 0.95}) {
            CBootstrapRequest request;
            request.n = n;
            std::vector<double> atLow = BootstrapEstimates(request, kBootstrapLowestH);
            std::vector<double> atHigh = BootstrapEstimates(request, kBootstrapHighestH);
            std::sort(atLow.begin(), atLow.end());
            std::sort(atHigh.begin(), atHigh.end());
            int unreachable = 0, oldNone = 0, edge = 0;
            for (int i = 0; i < count; ++i) {
                const double observed = Estimate(SimulateFbm(n, h, 7000 + i), 4, 3);
                if (observed < atLow.front() || observed > atHigh.back())
                    ++unreachable;
                if (observed < SortedQuantile(atLow, 0.5) || observed > SortedQuantile(atHigh, 0.5))
                    ++edge;
                // The old rule: the high end existed only when the 2.5 %
                // quantile at the top reached the observed H.
                if (observed > SortedQuantile(atHigh, 0.025) || observed < SortedQuantile(atLow, 0.975))
                    ++oldNone;
            }
            std::printf("  n %5d H %.2f: unreachable %d, corrected at the edge %d, an end at the edge (\"none\" "
                        "before) %d\n",
                        n, h, unreachable, edge, oldNone);
        }
    }
}

void Coverage(int count, int n, int replicates)
{
    std::printf("Coverage on exact fBm, n %d, %d replicates, %d series each\n", n, replicates, count);
    for (const double h : {0.1, 0.3, 0.5, 0.7, 0.9, 0.95}) {
        int covered = 0, alarms = 0, more = 0;
        double err = 0, lowErr = 0, width = 0;
        for (int i = 0; i < count; ++i) {
            const std::vector<double> x = SimulateFbm(n, h, 9000 + i);
            const CBootstrapResult r = Pipeline(x, false, replicates, kDefaultBootstrapSeed + i);
            if (!r.corrected)
                continue;
            const double lo = r.lowBound == EBootstrapBound::AtOrBelow ? 0.0 : *r.low;
            const double hi = r.highBound == EBootstrapBound::AtOrAbove ? 1.0 : *r.high;
            covered += lo <= h && h <= hi;
            alarms += r.check && !r.check->passed;
            more += r.NeedsMoreReplicates();
            if (std::isfinite(r.correctedError))
                err += r.correctedError;
            if (std::isfinite(r.lowError))
                lowErr += r.lowError;
            width += hi - lo;
        }
        std::printf("  H %.2f: coverage %5.1f %%, false alarms %4.1f %%, mean width %.3f, MC error corrected "
                    "%.4f low %.4f, 'use more' %d\n",
                    h, 100.0 * covered / count, 100.0 * alarms / count, width / count, err / count,
                    lowErr / count, more);
        std::fflush(stdout);
    }
}

void Alarms(int count, int replicates, int onlyN)
{
    std::printf("Model check false alarms on exact fBm (pipeline, auto), %d series, %d replicates\n", count,
                replicates);
    for (const int n : {1024, 4096, 16384}) {
        if (onlyN && n != onlyN)
            continue;
        for (const double h : {0.2, 0.5, 0.7, 0.9}) {
            int alarms = 0, reached = 0;
            for (int i = 0; i < count; ++i) {
                const CBootstrapResult r =
                    Pipeline(SimulateFbm(n, h, 3000 + i), false, replicates, kDefaultBootstrapSeed + 17 * i);
                reached += r.check.has_value();
                alarms += r.check && !r.check->passed;
            }
            std::printf("  n %5d H %.1f: %d of %d flagged\n", n, h, alarms, reached);
            std::fflush(stdout);
        }
    }
}

// The median raw estimate (D 4 M 3) of each model against its true H.
void Bias()
{
    std::printf("Median raw estimate (D 4 M 3) minus true H, 100 replicates, seed %llu\n",
                static_cast<unsigned long long>(kDefaultBootstrapSeed));
    for (const int n : {1000, 10000}) {
        for (const EBootstrapModel model :
             {EBootstrapModel::Motion, EBootstrapModel::ProfileOfNoise, EBootstrapModel::Noise}) {
            std::printf("  n %5d %-38s", n, BootstrapModelName(model));
            for (const double h : {0.3, 0.5, 0.7, 0.9, 0.95}) {
                CBootstrapRequest request;
                request.n = n;
                request.replicates = 100;
                request.model = model;
                std::vector<double> e = BootstrapEstimates(request, h);
                std::sort(e.begin(), e.end());
                std::printf("  H %.2f: %+.3f", h, SortedQuantile(e, 0.5) - h);
            }
            std::printf("\n");
        }
    }
}

// The reported Monte-Carlo errors against the spread of the values over
// seeds, on one fixed series each.
void McError(int seeds, int replicates, int n)
{
    std::printf("Monte-Carlo error: sd over %d seeds vs mean reported error, n %d, %d replicates\n", seeds, n,
                replicates);
    for (const double h : {0.3, 0.7, 0.9}) {
        const std::vector<double> x = SimulateFbm(n, h, 42);
        std::vector<double> values[3], errors[3];
        for (int i = 0; i < seeds; ++i) {
            const CBootstrapResult r = Pipeline(x, false, replicates, 1000 + i);
            const std::optional<double>* v[3] = {&r.corrected, &r.low, &r.high};
            const double e[3] = {r.correctedError, r.lowError, r.highError};
            for (int k = 0; k < 3; ++k)
                if (*v[k] && std::isfinite(e[k])) {
                    values[k].push_back(**v[k]);
                    errors[k].push_back(e[k]);
                }
        }
        std::printf("  H %.1f:", h);
        const char* names[3] = {"corrected", "low", "high"};
        for (int k = 0; k < 3; ++k) {
            double s = 0, ss = 0, es = 0;
            for (std::size_t i = 0; i < values[k].size(); ++i) {
                s += values[k][i];
                ss += values[k][i] * values[k][i];
                es += errors[k][i];
            }
            const double m = values[k].size();
            std::printf("  %s sd %.4f reported %.4f (%zu)", names[k], std::sqrt(std::max(ss / m - s * s / m / m, 0.0)),
                        es / m, values[k].size());
        }
        std::printf("\n");
        std::fflush(stdout);
    }
}

struct Case
{
    const char* name;
    bool isProfile;
    std::function<std::vector<double>(int n, std::uint64_t seed)> make;
};

void Power(int count, int n, int replicates)
{
    const std::vector<Case> cases = {
        {"AR(1) phi 0.5 cumulated", false, [](int n, std::uint64_t s) { return Cumulated(Ar1(n, 0.5, s)); }},
        {"ARFIMA(1,0.2,0) phi 0.5 cumulated", false,
         [](int n, std::uint64_t s) { return Cumulated(Arfima(n, 0.5, 0.2, s)); }},
        {"fBm 0.7 + white noise sd 1", false,
         [](int n, std::uint64_t s) {
             std::vector<double> x = SimulateFbm(n, 0.7, s);
             const std::vector<double> z = Normals(n, s, 3);
             for (int i = 0; i < n; ++i)
                 x[i] += z[i];
             return x;
         }},
        {"fBm 0.7 + white noise sd 3", false,
         [](int n, std::uint64_t s) {
             std::vector<double> x = SimulateFbm(n, 0.7, s);
             const std::vector<double> z = Normals(n, s, 3);
             for (int i = 0; i < n; ++i)
                 x[i] += 3.0 * z[i];
             return x;
         }},
        {"level shifts in white noise, profiled", true,
         [](int n, std::uint64_t s) {
             std::vector<double> x = Normals(n, s, 4);
             const std::vector<double> u = Normals(16, s, 5);
             // Eight shifts of one standard deviation or more at places
             // fixed by the seed.
             for (int k = 0; k < 8; ++k) {
                 const int at = static_cast<int>((0.5 + 0.5 * std::erf(u[k])) * n);
                 const double size = (u[8 + k] > 0 ? 1.0 : -1.0) * (1.0 + std::fabs(u[8 + k]));
                 for (int i = at; i < n; ++i)
                     x[i] += size;
             }
             ProfileInPlace(x.data(), x.size());
             return x;
         }},
        {"fBm 0.5 + strong linear trend", false,
         [](int n, std::uint64_t s) {
             std::vector<double> x = SimulateFbm(n, 0.5, s);
             const double slope = 10.0 / std::sqrt(static_cast<double>(n));
             for (int i = 0; i < n; ++i)
                 x[i] += slope * i;
             return x;
         }},
    };
    std::printf("Model check power, n %d, %d series, %d replicates\n", n, count, replicates);
    for (const Case& c : cases) {
        int flagged = 0, reached = 0;
        double corrected = 0, raw = 0, alpha = 0;
        for (int i = 0; i < count; ++i) {
            const std::vector<double> x = c.make(n, 100 + i);
            CSeriesDecision decision;
            const CBootstrapResult r = Pipeline(x, c.isProfile, replicates, kDefaultBootstrapSeed + i, &decision);
            raw += r.observedH;
            alpha += decision.alpha;
            if (!r.check)
                continue;
            ++reached;
            flagged += !r.check->passed;
            if (std::getenv("STUDY_VERBOSE"))
                std::printf("    %s | %s\n", BootstrapSummaryText(r).c_str(), ModelCheckText(*r.check).c_str());
            corrected += *r.corrected;
        }
        std::printf("  %-40s flagged %2d of %2d (reached %d); mean raw H %.3f, corrected %.3f, alpha %.2f\n", c.name,
                    flagged, count, reached, raw / count, reached ? corrected / reached : 0.0, alpha / count);
        std::fflush(stdout);
    }
}

void Nile(const char* path)
{
    std::ifstream in(path);
    std::vector<double> x;
    for (double v; in >> v;)
        x.push_back(v);
    std::vector<double> profile = x;
    ProfileInPlace(profile.data(), profile.size());
    for (const auto& [name, series, isProfile, input] :
         {std::tuple{"series", x, false, ESeriesInput::Auto}, std::tuple{"profile", profile, true, ESeriesInput::Auto},
          std::tuple{"profile as fBm", profile, true, ESeriesInput::Motion}}) {
        CHDataSet set({.nD = 4, .nM = 3});
        set.m_bAutoCompute = 0;
        set.Values().Storage() = series;
        set.Compute();
        const CSeriesDecision decision = DecideSeriesKind(series.data(), series.size(), input, isProfile);
        const CBootstrapRequest request = BootstrapRequestFor(set, decision, true);
        const CBootstrapResult r = RunBootstrap(request);
        std::printf("%s (n %zu): raw H %.4f; %s; model %s\n  %s\n  %s\n", name, series.size(), set.GetH(),
                    SeriesKindLabel(decision).c_str(), BootstrapModelName(r.model), BootstrapSummaryText(r).c_str(),
                    BootstrapPrecisionText(r).c_str());
        if (r.check)
            std::printf("  check %s\n", ModelCheckText(*r.check).c_str());
        for (const std::string& note : BootstrapNotes(r))
            std::printf("  note: %s\n", note.c_str());
        if (const auto warning = SeriesKindWarning(decision, "--input noise|motion"))
            std::printf("  warning: %s\n", warning->c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::string part = argc > 1 ? argv[1] : "";
    const int count = argc > 2 ? std::atoi(argv[2]) : 100;
    const int replicates = argc > 3 ? std::atoi(argv[3]) : 200;
    const int n = argc > 4 ? std::atoi(argv[4]) : 2048;
    if (part == "alpha")
        Alpha();
    else if (part == "unreachable")
        Unreachable(count);
    else if (part == "coverage")
        Coverage(count, n, replicates);
    else if (part == "alarms")
        Alarms(count, replicates, argc > 4 ? n : 0);
    else if (part == "bias")
        Bias();
    else if (part == "mcerror")
        McError(count, replicates, n);
    else if (part == "power")
        Power(count, n, replicates);
    else if (part == "nile" && argc > 2)
        Nile(argv[2]);
    else {
        std::fprintf(stderr, "usage: kestrin-model-check-study alpha|unreachable|coverage|alarms|power|mcerror|bias [count "
                             "[replicates [n]]] | nile FILE\n");
        return 2;
    }
    return 0;
}
