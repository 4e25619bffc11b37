#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "analysis/Bootstrap.h"
#include "analysis/BootstrapGrid.h"
#include "analysis/SlidingWindows.h"
#include "document/IntervalBand.h"

class CKestrinDoc;

// The interval band of a sliding run: a corrected H and a bootstrap interval
// for every window, read from one bootstrap grid (BootstrapGrid.h), since all
// windows of a run share n (the width), D and M.
//
// The model: the whole series is decided noise or motion first
// (DecideSeriesKind), and the grid simulates what that decision calls for,
// as the bootstrap of the whole series does (BootstrapModelFor).
//
// The model check: the check of the whole series' bootstrap would estimate
// replicates of the whole series' length, far too costly for a long series.
// The band makes it at the window width instead: every grid replicate is
// also estimated with ModelCheckSettings(width), and a sample of
// non-overlapping windows (at most kBandCheckWindows, evenly spread) is each
// checked as the bootstrap checks one series, against the grid h nearest to
// its corrected H. How often a window fails under the model is measured on
// the grid's own replicates, taken through the same steps (a little over the
// check's nominal 5 %, since a window's corrected H chooses what it is
// compared with); the band's check fails when the windows that fail are more
// than that share allows: when the chance of at least as many failures among
// that many windows, taken as independent, is below kBandCheckAlpha. It
// assumes that the windows are independent (non-overlapping windows of a
// long-memory series are not quite) and that the model holds within each
// window.

constexpr int kBandCheckWindows = 200;
constexpr double kBandCheckAlpha = 0.01;

// What the user asks of a band.
struct CIntervalBandOptions
{
    int replicates = kDefaultBootstrapReplicates;
    std::uint64_t seed = kDefaultBootstrapSeed;
    ESeriesInput input = ESeriesInput::Auto;
    // The series is known to be a profile (its document was made by Profile).
    bool isProfile = false;
    double level = 0.95;
    // Worker threads (0: the process's rule); the results do not depend on it.
    unsigned threads = 0;
};

// The options of the band of doc's windows, as the command line, the
// workbench and the Python module ask for it: the replicates, seed and input
// given, the series known to be a profile when doc was made by Profile.
CIntervalBandOptions DocumentBandOptions(const CKestrinDoc& doc, int replicates, std::uint64_t seed,
                                         ESeriesInput input = ESeriesInput::Auto);

// The bootstrap request of a sliding run's windows: n the width, D and M of
// every window, the replicates, seed, level and threads asked, the model the
// decision calls for (observedH is the window's, set when reading). Every
// band is computed from the request this function makes.
CBootstrapRequest BandRequestFor(const SlidingWindowParams& params, const CSeriesDecision& decision,
                                 const CIntervalBandOptions& options);

// Why no band can be computed for these windows (a D of 0, a width or
// replicates outside what the bootstrap takes); nothing when it can.
std::optional<std::string> CheckIntervalBand(const SlidingWindowParams& params, const CIntervalBandOptions& options);

// The band of windows (the results of ComputeSlidingWindowResults over
// series with params): the decision, the grid, every window read from it,
// the model check. Nothing when it cannot be computed or progress cancels.
std::optional<CIntervalBand> ComputeIntervalBand(const CSeriesArray& series, const CHPointArray& windows,
                                                 const SlidingWindowParams& params,
                                                 const CIntervalBandOptions& options,
                                                 const BootstrapProgress& progress = {});

// The band's check at the window width (see above): windows checked, those
// failing, the chance, the verdict. Part of ComputeIntervalBand.
CBandCheck CheckBandModel(const CBootstrapGrid& grid, std::span<const double> values,
                          const CHPointArray& windows, const std::vector<CBandWindow>& read,
                          const SlidingWindowParams& params);

// The chance of at least k successes in n independent trials of chance p.
double BinomialUpperTail(int n, int k, double p);

// The band's decision and model, as the bootstrap's types give them.
CSeriesDecision BandDecision(const CIntervalBand& band);
EBootstrapModel BandModel(const CIntervalBand& band);

// "model fractional Brownian motion (motion, α 1.52); check at the window
// width: 9 of 200 windows fail (5 % expected), passed", "... failed: the
// band assumes a model the series is not like".
std::string BandStatement(const CIntervalBand& band);

// What a band must be read with: "the interval band's model check failed:
// <statement>" when its check failed; nothing when it passed.
std::optional<std::string> BandWarning(const CIntervalBand& band);

// "value", "at_or_below", "at_or_above": a window's bound as the bootstrap
// names it in JSON.
const char* BoundWord(EBandBound bound);

// The document operation: computes the band of the document's sliding
// results (computed with params) into m_band, showing "Calculating Interval
// Band (%i %%)"; progress may cancel. False, with the band left empty, when
// it cannot be computed (the reason in *why) or was cancelled.
bool ComputeDocumentBand(CKestrinDoc& doc, const SlidingWindowParams& params, const CIntervalBandOptions& options,
                         const BootstrapProgress& progress = {}, std::string* why = nullptr);
