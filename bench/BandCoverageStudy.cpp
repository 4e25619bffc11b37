// kestrin-band-coverage-study: how often the interval band's intervals hold
// the true H. A program run by hand on a release build.
//
//   kestrin-band-coverage-study [n] [width] [spacing] [replicates] [series] [H...]
//
// For each true H (default 0.3 0.5 0.7 0.9), `series` paths of exact
// fractional Brownian motion of n values (default 100,000, 2 paths) are cut
// into sliding windows (default width 1000, spacing 100, D 6, "Use Best" M)
// and given their band (default 200 replicates) as the workbench computes
// it: the series decided noise or motion, the grid, every window read, the
// check. Printed per H: the windows, the share whose interval holds the true
// H (an end at an edge of the searched range holds everything beyond it; a
// window whose H cannot be reached holds nothing), the mean width of the
// intervals, the mean raw and corrected H, and the model check.
//
// Every band uses the default seed, as a user's does, so the shares are
// those of that one set of replicates; with KESTRIN_STUDY_SEEDS=vary in the
// environment each path gets a seed of its own (1000 + its number), which
// averages the replicates' own chance out.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/FbmSimulation.h"
#include "analysis/IntervalBand.h"
#include "analysis/SlidingWindows.h"

namespace {

int Arg(int argc, char** argv, int i, int fallback)
{
    return argc > i ? std::atoi(argv[i]) : fallback;
}

bool Holds(const CBandWindow& w, double h)
{
    if (!w.Reached())
        return false;
    const bool fromBelow = w.lowBound == EBandBound::AtOrBelow || w.low <= h;
    const bool toAbove = w.highBound == EBandBound::AtOrAbove || h <= w.high;
    return fromBelow && toAbove;
}

} // namespace

int main(int argc, char** argv)
{
    const int n = Arg(argc, argv, 1, 100000);
    const int width = Arg(argc, argv, 2, 1000);
    const int spacing = Arg(argc, argv, 3, 100);
    const int replicates = Arg(argc, argv, 4, 200);
    const int paths = Arg(argc, argv, 5, 2);
    std::vector<double> hs;
    for (int i = 6; i < argc; ++i)
        hs.push_back(std::atof(argv[i]));
    if (hs.empty())
        hs = {0.3, 0.5, 0.7, 0.9};

    SlidingWindowParams params;
    params.width = width;
    params.spacing = spacing;
    params.nD = 6;
    params.useBestM = true;
    CIntervalBandOptions options;
    options.replicates = replicates;
    const char* seeds = std::getenv("KESTRIN_STUDY_SEEDS");
    const bool varySeeds = seeds && std::string(seeds) == "vary";

    std::printf("n %d, width %d, spacing %d, D 6, M %d, %d replicates, %d paths per H\n", n, width, spacing,
                WindowM(params), replicates, paths);
    std::printf("%5s %9s %9s %8s %8s %10s %8s  %s\n", "H", "windows", "coverage", "width", "raw H", "corrected",
                "seconds", "checks passed (failing windows)");
    for (const double h : hs) {
        long windowsSeen = 0, held = 0;
        double widthSum = 0.0, rawSum = 0.0, correctedSum = 0.0;
        long reached = 0;
        int passed = 0;
        std::vector<int> failing;
        double seconds = 0.0;
        for (int p = 0; p < paths; ++p) {
            if (varySeeds)
                options.seed = 1000u + static_cast<std::uint64_t>(p);
            const std::vector<double> y =
                SimulateFbm(n, h, 7919u * static_cast<std::uint64_t>(h * 1000.0) + static_cast<std::uint64_t>(p));
            CSeriesArray series;
            for (std::size_t i = 0; i < y.size(); ++i) {
                CSeriesPoint point;
                point.m_dX = static_cast<double>(i);
                point.m_dY = y[i];
                series.Add(point);
            }
            const CHPointArray windows = ComputeSlidingWindowResults(series, params);
            const auto start = std::chrono::steady_clock::now();
            const std::optional<CIntervalBand> band = ComputeIntervalBand(series, windows, params, options);
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (!band) {
                std::fprintf(stderr, "no band for H %.2f path %d\n", h, p);
                return 1;
            }
            for (std::size_t i = 0; i < band->windows.size(); ++i) {
                const CBandWindow& w = band->windows[i];
                ++windowsSeen;
                held += Holds(w, h);
                rawSum += windows[static_cast<int>(i)].m_dY;
                if (w.Reached()) {
                    ++reached;
                    widthSum += w.high - w.low;
                    correctedSum += w.corrected;
                }
            }
            passed += band->check.passed;
            failing.push_back(band->check.failing);
        }
        std::printf("%5.2f %9ld %8.1f%% %8.3f %8.3f %10.3f %8.1f  %d of %d (", h, windowsSeen,
                    100.0 * static_cast<double>(held) / static_cast<double>(windowsSeen),
                    widthSum / static_cast<double>(reached), rawSum / static_cast<double>(windowsSeen),
                    correctedSum / static_cast<double>(reached), seconds / paths, passed, paths);
        for (std::size_t i = 0; i < failing.size(); ++i)
            std::printf("%s%d", i ? " " : "", failing[i]);
        std::printf(")\n");
    }
    return 0;
}
