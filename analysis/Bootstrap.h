#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/EstimatorSetting.h"

#include "analysis/HMethods.h"
#include "analysis/SeriesKind.h"

class CHDataSet;

// How far to trust an H estimate: a parametric bootstrap. For a trial
// exponent h, K replicates of the model (by default fractional Brownian
// motion) with n points are simulated exactly and estimated with the same D,
// M and first lag r_min (the same lags fitted) through CHDataSet; the replicates' estimates at h form a
// distribution. Bisection over h, with the same random numbers at every h
// tried, finds
//  - the corrected H: the h whose replicates' median equals the observed H;
//  - the low end of the interval: the h whose (1 + level)/2 quantile equals
//    the observed H; the high end: the h whose (1 - level)/2 quantile does.
// Quantiles interpolate linearly between order statistics.
//
// The model follows what the data went through (EBootstrapModel): a motion
// is simulated as fBm, a noise estimated as it is as fractional Gaussian
// noise, a document made by Profile as the profile of fractional Gaussian
// noise.
//
// The model check (when the request carries the observed series' raw
// estimates at ModelCheckSettings) compares the corrected H of three
// settings of D and M. Every path simulated is estimated with all of them;
// each setting's calibration curve (median estimate against h, over the h's
// evaluated, interpolated linearly, and extended along its line past the
// searched range) maps a raw estimate to a corrected one. The spread of the three corrected H (largest minus least) of the data is
// set against the spreads of K replicates simulated at the corrected H: the
// 95th percentile of those is the threshold, the share at or above the
// data's spread the p-value. Under the model the settings agree up to that
// threshold; data that are not like the model make them disagree.

constexpr int kDefaultBootstrapReplicates = 200;
constexpr std::uint64_t kDefaultBootstrapSeed = 20240615;
constexpr int kMaxBootstrapReplicates = 100000;
// The least number of values a bootstrap takes: fewer cannot be estimated
// with any lag.
constexpr int kMinBootstrapCount = 4;
// The most values a bootstrap takes: beyond, one replicate's transform alone
// would take hundreds of megabytes and the run hours.
constexpr int kMaxBootstrapCount = 1 << 20;

// What the replicates simulate.
enum class EBootstrapModel
{
    Motion,         // fractional Brownian motion (the running sum of fGn)
    Noise,          // fractional Gaussian noise, estimated as it is
    ProfileOfNoise, // fGn, its mean removed and summed (as File > Profile)
};

// "fractional Brownian motion", "fractional Gaussian noise", "profile of
// fractional Gaussian noise".
const char* BootstrapModelName(EBootstrapModel model);

// The model for a decided series: a noise estimated as it is by fGn; a
// profile left to the data (or told it is a profile) by the profile of fGn;
// anything else by fBm.
EBootstrapModel BootstrapModelFor(const CSeriesDecision& decision);

// One setting of the estimator.

constexpr int kModelCheckSettingCount = 3;
// The model check's settings for n values: D 4 M 3, D 1 M 10, D 6 with the
// best M (OptimumM(n), the integer square root of n), each fitting every lag
// from 1 whatever first lag the estimate itself fits from.
std::array<CEstimatorSetting, kModelCheckSettingCount> ModelCheckSettings(int n);

// The raw H estimates of values at ModelCheckSettings(count), in order.
std::vector<double> ModelCheckEstimates(const double* values, int count);

struct CBootstrapRequest
{
    int n = 0;         // values of the observed estimate
    int nD = 4;
    int nM = 3;
    // The first lag of the fit: every replicate is fitted through lags
    // nRMin..M, as the observed estimate was.
    int nRMin = 1;
    double observedH = 0.0;
    int replicates = kDefaultBootstrapReplicates;
    std::uint64_t seed = kDefaultBootstrapSeed;
    double level = 0.95;
    // Worker threads: 0 for the process's rule (WorkerLimit(): every core
    // unless limited). The results do not depend on it.
    unsigned threads = 0;
    EBootstrapModel model = EBootstrapModel::Motion;
    // The observed series' raw estimates at ModelCheckSettings(n), in order;
    // empty for no model check. With or without it, the corrected H and the
    // interval are the same bit for bit.
    std::vector<double> checkObserved;
    // Noise or motion as decided for the series, when it was: carried into
    // the result for the report.
    std::optional<CSeriesDecision> decision;
    // How each replicate is estimated: the curve length with D and M, or
    // DFA-1 or Whittle reading the replicate as the model makes it (a noise
    // for fGn, a motion otherwise), observedH being that method's H of the
    // data. Requests that differ only in the method and observedH draw the
    // same normals at every h: their replicates are common random numbers.
    // The model check is the curve length's alone.
    EHMethod method = EHMethod::Curve;
};

// The values an estimator last computed over.
std::span<const double> EstimatedValues(const CHDataSet& set);

// The request for an estimator as it was last computed: its n, D, M, first
// lag and H (fBm, no model check).
CBootstrapRequest BootstrapRequestFor(const CHDataSet& set);

// The same with the model that the decision calls for, and with the model
// check's estimates of the set's values when modelCheck is true.
CBootstrapRequest BootstrapRequestFor(const CHDataSet& set, const CSeriesDecision& decision, bool modelCheck);

// What the workbench's dialog and the command line ask of a series'
// bootstrap.
struct CSeriesBootstrapOptions
{
    int replicates = kDefaultBootstrapReplicates;
    std::uint64_t seed = kDefaultBootstrapSeed;
    ESeriesInput input = ESeriesInput::Auto;
    // The series is known to be a profile (its document was made by Profile).
    bool isProfile = false;
    bool modelCheck = true;
    unsigned threads = 0;
};

// The whole request for an estimator as last computed: noise or motion
// decided from its values (DecideSeriesKind), the model that follows, the
// model check's estimates; the decision is carried along. Check it with
// CheckBootstrapRequest, then RunBootstrap.
CBootstrapRequest SeriesBootstrapRequest(const CHDataSet& set, const CSeriesBootstrapOptions& options);

// How an end (or the corrected H) was found.
enum class EBootstrapBound
{
    Value,     // the h solved for
    AtOrBelow, // the observed H lies below what the searched range's lowest h
               // gives at that quantile: the value is at or below it
    AtOrAbove, // ... above what its highest h gives: at or above it
};

// "value", "at_or_below", "at_or_above": how a bound is named in JSON (and
// by the Python module).
const char* BoundWord(EBootstrapBound bound);

struct CModelCheck
{
    std::array<CEstimatorSetting, kModelCheckSettingCount> settings{};
    // Each setting's corrected H; past the searched range it follows the
    // calibration's line, and may then lie outside (0, 1).
    std::array<double, kModelCheckSettingCount> corrected{};
    double statistic = 0.0;  // the data's spread: largest minus least corrected H
    double threshold = 0.0;  // 95th percentile of the replicates' spreads
    double pValue = 1.0;     // share of replicate spreads >= statistic
    bool passed = true;      // statistic <= threshold
};

// One trial exponent the search tried: h and the replicates' estimates at
// it, as their (1 - level)/2, 0.5 and (1 + level)/2 quantiles.
struct CBootstrapGridPoint
{
    double h = 0.0;
    std::array<double, 3> quantiles{};
};

struct CBootstrapResult
{
    int replicates = 0;
    std::uint64_t seed = 0;
    double level = 0.95;
    double observedH = 0.0;
    // The request's first lag: the replicates were fitted through lags
    // nRMin..M (the model check's settings always from lag 1).
    int nRMin = 1;
    EBootstrapModel model = EBootstrapModel::Motion;
    // All three are missing when the observed H lies beyond every replicate
    // at the searched range's edge (it cannot be reached). A value at an
    // edge of the range with its bound AtOrBelow / AtOrAbove says that the
    // solution lies at or beyond that edge.
    std::optional<double> corrected;
    std::optional<double> low;
    std::optional<double> high;
    EBootstrapBound correctedBound = EBootstrapBound::Value;
    EBootstrapBound lowBound = EBootstrapBound::Value;
    EBootstrapBound highBound = EBootstrapBound::Value;
    // Monte-Carlo standard errors (from the finite replicates): the sampling
    // error of the quantile at the solution divided by the slope of that
    // quantile against h. NaN for a bound at an edge or a missing value.
    double correctedError = 0.0;
    double lowError = 0.0;
    double highError = 0.0;
    // Present when the request asked for it and the observed H was reached.
    std::optional<CModelCheck> check;
    // The request's decision, when it carried one.
    std::optional<CSeriesDecision> decision;
    // Every h tried, ascending, with its quantiles: the interval and the
    // corrected H are where they cross the observed H (empty when cancelled).
    std::vector<CBootstrapGridPoint> grid;
    bool cancelled = false;
    // What the result must be read with, when the caller that knows the
    // estimate has said it (BootstrapReadingWarnings); RunBootstrap leaves
    // it empty.
    std::vector<std::string> warnings;

    // The observed H is reached by some h: the corrected H exists.
    bool Reached() const { return corrected.has_value(); }
    // The decimals that a value with this Monte-Carlo error supports: 1 to 3.
    static int DecimalsFor(double error);
    // The largest Monte-Carlo error exceeds a quarter of the interval's
    // width: more replicates are needed for the digits to mean something.
    bool NeedsMoreReplicates() const;
};

// Whether the intervals of the results that give one share a common point
// (the largest low end at or below the least high end); nothing when fewer
// than two give an interval.
std::optional<bool> BootstrapIntervalsOverlap(const std::vector<const CBootstrapResult*>& results);

// Called on the calling thread with the fraction done (0..1); returning
// false cancels the run, which then ends with cancelled set and no values.
using BootstrapProgress = std::function<bool(double fraction)>;

// The range of trial exponents searched, inside (0, 1): [0.008, 0.992].
constexpr double kBootstrapLowestH = 1.0 / 128.0;
constexpr double kBootstrapHighestH = 127.0 / 128.0;

// Why a request cannot be run (fewer than kMinBootstrapCount or more than
// kMaxBootstrapCount values, replicates outside 1..kMaxBootstrapReplicates,
// D or M below 1, a first lag other than 1 outside 1..M - 1, a level outside (0, 1), an observed H that is not a
// number, model check estimates that are not three numbers); nothing when
// it can.
std::optional<std::string> CheckBootstrapRequest(const CBootstrapRequest& request);

// Runs the bootstrap (and the model check when asked). A request that
// CheckBootstrapRequest refuses gives a result with nothing reached.
CBootstrapResult RunBootstrap(const CBootstrapRequest& request, const BootstrapProgress& progress = {});

// What one trial exponent gave: the request's estimates, sorted, and, when
// the model check was asked for, its estimates (kModelCheckSettingCount per
// replicate, in replicate order).
struct CBootstrapEvaluation
{
    double h = 0.0;
    std::vector<double> sorted;
    std::vector<double> check;
    // With the check's estimates: the replicates' estimates in replicate
    // order, beside their check's estimates.
    std::vector<double> estimates;
};

// The evaluations at every h of hs, in their order, with the draws that
// RunBootstrap makes at the same h (so the same estimates bit for bit), the
// model check's estimates too when withCheck. The pairs of replicates are
// shared among the request's threads. progress gets the fraction done;
// returning false cancels, and an unusable request or a cancelled run gives
// nothing.
std::vector<CBootstrapEvaluation> EvaluateBootstrapAt(const CBootstrapRequest& request, const std::vector<double>& hs,
                                                      bool withCheck, const BootstrapProgress& progress = {});

// The model check's calibration over evaluations made with the check's
// estimates, ascending in h: each setting's median estimate against h.
class CModelCheckCalibration
{
public:
    CModelCheckCalibration(const std::vector<const CBootstrapEvaluation*>& evaluations, int n);

    // Setting s's calibration: the h whose median estimate (interpolated
    // linearly between the h's evaluated) equals the raw estimate. Beyond
    // the medians at the edges the line is extended (its slope from the edge
    // to the first h at least 0.1 from it), so that settings that disagree
    // beyond the range still show it.
    double Calibrated(int s, double raw) const;

    // The check of an observed series' raw estimates (ModelCheckEstimates)
    // against the replicates of the evaluation `at` (one of those given).
    CModelCheck CheckAt(const CBootstrapEvaluation& at, const std::vector<double>& observedRaw) const;

    // The check's parts: the spread of the calibrated raw estimates
    // (kModelCheckSettingCount of them), and the replicates' spreads at `at`,
    // ascending. CheckAt passes exactly when the first is at most the 95th
    // percentile (SortedQuantile) of the second.
    double SpreadOf(const double* raw) const;
    std::vector<double> SortedSpreads(const CBootstrapEvaluation& at) const;

private:
    int m_n;
    std::array<std::vector<std::pair<double, double>>, kModelCheckSettingCount> m_medians;
};

// The estimates of the replicates at one trial exponent, in replicate
// order: replicates 2p and 2p + 1 come from the normal stream p of the
// seed. Exposed for the tests and the benchmark.
std::vector<double> BootstrapEstimates(const CBootstrapRequest& request, double h);

// The q-quantile of ascending values, interpolating linearly between order
// statistics: position (count - 1) * q.
double SortedQuantile(const std::vector<double>& sorted, double q);

// The grid point of trial exponent h from its replicates' ascending
// estimates: their quantiles at tail, 0.5 and 1 - tail.
CBootstrapGridPoint GridPointOf(double h, const std::vector<double>& sorted, double tail);
