#include "analysis/Bootstrap.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <span>

#include "analysis/FbmSimulation.h"
#include "analysis/QuantileCrossing.h"
#include "core/HDataSet.h"
#include "core/OptimumM.h"
#include "analysis/SeriesKind.h"
#include "analysis/SeriesProfile.h"
#include "core/WorkSplit.h"

const char* BootstrapModelName(EBootstrapModel model)
{
    switch (model) {
    case EBootstrapModel::Noise: return "fractional Gaussian noise";
    case EBootstrapModel::ProfileOfNoise: return "profile of fractional Gaussian noise";
    case EBootstrapModel::Motion: break;
    }
    return "fractional Brownian motion";
}

const char* BoundWord(EBootstrapBound bound)
{
    switch (bound) {
    case EBootstrapBound::AtOrAbove: return "at_or_above";
    case EBootstrapBound::AtOrBelow: return "at_or_below";
    case EBootstrapBound::Value: break;
    }
    return "value";
}

EBootstrapModel BootstrapModelFor(const CSeriesDecision& decision)
{
    if (decision.estimatedAs == ESeriesKind::Noise)
        return EBootstrapModel::Noise;
    if (decision.isProfile && decision.input == ESeriesInput::Auto)
        return EBootstrapModel::ProfileOfNoise;
    return EBootstrapModel::Motion;
}

std::array<CEstimatorSetting, kModelCheckSettingCount> ModelCheckSettings(int n)
{
    return {CEstimatorSetting{4, 3}, CEstimatorSetting{1, 10}, CEstimatorSetting{6, std::max(OptimumM(n), 1)}};
}

namespace {

double EstimateOf(CHDataSet& set, const double* values, int count)
{
    set.Values().Storage().assign(values, values + count);
    set.Compute();
    return set.GetH();
}

} // namespace

std::vector<double> ModelCheckEstimates(const double* values, int count)
{
    std::vector<double> estimates;
    for (const CEstimatorSetting& setting : ModelCheckSettings(count)) {
        CHDataSet set(setting);
        set.m_bAutoCompute = 0;
        estimates.push_back(EstimateOf(set, values, count));
    }
    return estimates;
}

CBootstrapRequest BootstrapRequestFor(const CHDataSet& set)
{
    CBootstrapRequest request;
    request.n = set.GetCount();
    request.nD = set.GetD();
    request.nM = set.GetM();
    request.nRMin = set.GetRMin();
    request.observedH = set.GetH();
    return request;
}

std::span<const double> EstimatedValues(const CHDataSet& set)
{
    const auto& values = set.Values().Storage();
    const auto count = static_cast<std::size_t>(std::clamp(set.GetCount(), 0, static_cast<int>(values.size())));
    return {values.data(), count};
}

CBootstrapRequest BootstrapRequestFor(const CHDataSet& set, const CSeriesDecision& decision, bool modelCheck)
{
    CBootstrapRequest request = BootstrapRequestFor(set);
    request.model = BootstrapModelFor(decision);
    request.decision = decision;
    if (modelCheck) {
        const std::span<const double> values = EstimatedValues(set);
        request.checkObserved = ModelCheckEstimates(values.data(), static_cast<int>(values.size()));
    }
    return request;
}

CBootstrapRequest SeriesBootstrapRequest(const CHDataSet& set, const CSeriesBootstrapOptions& options)
{
    const std::span<const double> values = EstimatedValues(set);
    const CSeriesDecision decision = DecideSeriesKind(values.data(), values.size(), options.input, options.isProfile);
    CBootstrapRequest request = BootstrapRequestFor(set, decision, options.modelCheck);
    request.replicates = options.replicates;
    request.seed = options.seed;
    request.threads = options.threads;
    return request;
}

int CBootstrapResult::DecimalsFor(double error)
{
    if (!(error > 0.0) || !std::isfinite(error))
        return 3;
    return static_cast<int>(std::clamp<long>(std::lround(-std::log10(error)), 1, 3));
}

bool CBootstrapResult::NeedsMoreReplicates() const
{
    if (!low || !high)
        return false;
    const double width = *high - *low;
    double largest = 0.0;
    for (const double e : {correctedError, lowError, highError})
        if (std::isfinite(e))
            largest = std::max(largest, e);
    return largest > 0.25 * width;
}

CBootstrapGridPoint GridPointOf(double h, const std::vector<double>& sorted, double tail)
{
    return {h, {SortedQuantile(sorted, tail), SortedQuantile(sorted, 0.5), SortedQuantile(sorted, 1.0 - tail)}};
}

double SortedQuantile(const std::vector<double>& sorted, double q)
{
    if (sorted.empty())
        return 0.0;
    const double position = static_cast<double>(sorted.size() - 1) * q;
    const auto below = static_cast<std::size_t>(std::floor(position));
    if (below + 1 >= sorted.size())
        return sorted.back();
    const double fraction = position - static_cast<double>(below);
    return sorted[below] + fraction * (sorted[below + 1] - sorted[below]);
}

namespace {

// Bisection steps: the bracket shrinks from the searched range to under a
// thousandth, and the answer is its middle.
constexpr int kBisectionSteps = 10;

// The normal draws of every pair, kept between the trial exponents when they
// fit in kNormalCacheBytes (they cost as much as a transform to draw). Draws
// are rounded to float whether kept or not, so keeping them never changes a
// result.
constexpr std::size_t kNormalCacheBytes = std::size_t{128} << 20;

class CNormalCache
{
public:
    CNormalCache(const CBootstrapRequest& request, bool keep)
        : m_seed(request.seed), m_perPair(2 * FgnEmbeddingSize(request.n))
    {
        const std::size_t pairs = static_cast<std::size_t>((request.replicates + 1) / 2);
        if (keep && pairs <= kNormalCacheBytes / sizeof(float) / m_perPair)
            m_kept.resize(pairs);
    }

    // The draws of pair p into out (perPair values). Different pairs may be
    // asked for from different threads at once; one pair never is.
    void Draws(int p, std::vector<double>& out)
    {
        out.resize(m_perPair);
        std::vector<float>* kept = m_kept.empty() ? nullptr : &m_kept[static_cast<std::size_t>(p)];
        if (kept && !kept->empty()) {
            std::copy(kept->begin(), kept->end(), out.begin());
            return;
        }
        CNormalStream(m_seed, static_cast<std::uint64_t>(p)).Fill(out.data(), out.size());
        for (double& z : out)
            z = static_cast<float>(z);
        if (kept)
            kept->assign(out.begin(), out.end());
    }

private:
    std::uint64_t m_seed;
    std::size_t m_perPair;
    std::vector<std::vector<float>> m_kept;
};

// Called on the calling thread with the number of pairs taken so far;
// returning false stops the evaluation.
using PairProgress = std::function<bool(int taken)>;

// One simulated path of noise made into what the model estimates: its
// running sum (the motion), itself, or its profile.
void ShapePath(EBootstrapModel model, std::vector<double>& noise)
{
    switch (model) {
    case EBootstrapModel::Motion: CumulativeSum(noise.data(), noise.size()); break;
    case EBootstrapModel::ProfileOfNoise: ProfileInPlace(noise.data(), noise.size()); break;
    case EBootstrapModel::Noise: break;
    }
}

// The estimates of one path, each setting by its own CHDataSet; a setting
// the same as the request's takes the request's estimate.
struct CPathEstimators
{
    explicit CPathEstimators(const CBootstrapRequest& request)
        : main(CEstimatorSetting{.nD = request.nD, .nM = request.nM, .nRMin = request.nRMin}), method(request.method),
          kind(request.model == EBootstrapModel::Noise ? ESeriesKind::Noise : ESeriesKind::Motion)
    {
        main.m_bAutoCompute = 0;
        if (request.checkObserved.empty())
            return;
        const auto settings = ModelCheckSettings(request.n);
        for (int s = 0; s < kModelCheckSettingCount; ++s) {
            sameAsMain[s] = settings[s] == main.GetSetting();
            check.emplace_back(settings[s]);
            check.back().m_bAutoCompute = 0;
        }
    }

    // The request's estimate of the path; the check's into checkOut.
    double Estimate(std::vector<double>& path, int n, double* checkOut)
    {
        if (method != EHMethod::Curve)
            return EstimateByMethod(method, path.data(), static_cast<std::size_t>(n), kind).h;
        const double h = EstimateOf(main, path.data(), n);
        for (std::size_t s = 0; s < check.size(); ++s)
            checkOut[s] = sameAsMain[s] ? h : EstimateOf(check[s], path.data(), n);
        return h;
    }

    CHDataSet main;
    EHMethod method;
    ESeriesKind kind;
    std::vector<CHDataSet> check;
    std::array<bool, kModelCheckSettingCount> sameAsMain{};
};

// One worker's estimators and buffers, reused from pair to pair.
struct CPairWorker
{
    explicit CPairWorker(const CBootstrapRequest& request)
        : estimators(request), first(static_cast<std::size_t>(request.n)), second(static_cast<std::size_t>(request.n))
    {
    }

    CPathEstimators estimators;
    std::array<double, kModelCheckSettingCount> spare{};
    std::vector<double> normals;
    std::vector<double> first;
    std::vector<double> second;
    std::vector<std::complex<double>> transform;
};

// Fills estimates (in replicate order) for exponent h, and checkEstimates
// (kModelCheckSettingCount per replicate, replicate order) when the request
// asks for the model check. Pairs of replicates are shared among the workers
// (CWorkSplit); which worker takes a pair does not change its numbers, which
// come from the pair's own stream. False when progress stopped it.
bool EvaluateAt(const CBootstrapRequest& request, double h, CNormalCache& draws, std::vector<double>& estimates,
                std::vector<double>& checkEstimates, const PairProgress& progress)
{
    const CFgnGenerator generator(request.n, h);
    const int count = request.replicates;
    const int pairs = (count + 1) / 2;
    estimates.assign(static_cast<std::size_t>(count), 0.0);
    const std::size_t perReplicate = request.checkObserved.empty() ? 0 : kModelCheckSettingCount;
    checkEstimates.assign(static_cast<std::size_t>(count) * perReplicate, 0.0);
    double* checkAt = checkEstimates.data();

    const CWorkSplit split(pairs, request.threads);
    std::vector<std::unique_ptr<CPairWorker>> workers(split.Workers());
    const auto work = [&](std::int64_t item, unsigned worker) {
        std::unique_ptr<CPairWorker>& state = workers[worker];
        if (!state)
            state = std::make_unique<CPairWorker>(request);
        const auto checkOf = [&](int replicate) {
            return perReplicate ? checkAt + static_cast<std::size_t>(replicate) * perReplicate : state->spare.data();
        };
        const int p = static_cast<int>(item);
        draws.Draws(p, state->normals);
        generator.Generate(state->normals.data(), state->first.data(), state->second.data(), state->transform);
        ShapePath(request.model, state->first);
        estimates[static_cast<std::size_t>(2 * p)] = state->estimators.Estimate(state->first, request.n, checkOf(2 * p));
        if (2 * p + 1 < count) {
            ShapePath(request.model, state->second);
            estimates[static_cast<std::size_t>(2 * p + 1)] =
                state->estimators.Estimate(state->second, request.n, checkOf(2 * p + 1));
        }
    };
    const auto onFinished = [&](std::int64_t finished) {
        return !progress || progress(static_cast<int>(finished));
    };
    return split.Run(work, onFinished);
}

bool UsableRequest(const CBootstrapRequest& r)
{
    return !CheckBootstrapRequest(r);
}

using CEvaluation = CBootstrapEvaluation;

// A solution of the search: the value (an edge of the range for a bound)
// and how it was found.
struct CSolution
{
    std::optional<double> value;
    EBootstrapBound bound = EBootstrapBound::Value;
};

// The searched range's edges as the tests and the messages give them.
constexpr double kEdges[2] = {kBootstrapLowestH, kBootstrapHighestH};

// The sorted estimates at every h tried so far, and the search itself.
class CBootstrapSearch
{
public:
    CBootstrapSearch(const CBootstrapRequest& request, const BootstrapProgress& progress)
        : m_request(request), m_progress(progress), m_draws(request, true)
    {
    }

    bool Cancelled() const { return m_cancelled; }

    // Every h tried, ascending, with its quantiles at tail, 0.5, 1 - tail.
    std::vector<CBootstrapGridPoint> Grid(double tail) const
    {
        std::vector<CBootstrapGridPoint> grid;
        for (const auto& [h, evaluation] : m_cache)
            grid.push_back(GridPointOf(h, evaluation.sorted, tail));
        return grid;
    }

    // Whether the observed H lies within the replicates at the range's
    // edges: not below every one at the lowest h nor above every one at the
    // highest. False too when cancelled.
    bool Reachable()
    {
        const CEvaluation* atLow = At(kEdges[0]);
        const CEvaluation* atHigh = atLow ? At(kEdges[1]) : nullptr;
        if (!atHigh)
            return false;
        const double observed = m_request.observedH;
        return observed >= atLow->sorted.front() && observed <= atHigh->sorted.back();
    }

    // The h in the searched range whose q-quantile equals the observed H,
    // by bisection; an edge with its bound when the observed H lies beyond
    // what the range reaches at q; nothing when cancelled.
    CSolution Solve(double q)
    {
        const CCrossingBracket b =
            BisectCrossing(m_request.observedH, kEdges[0], kEdges[1], kBisectionSteps, [&](double h) {
                const CEvaluation* at = At(h);
                return at ? std::optional<double>(SortedQuantile(at->sorted, q)) : std::nullopt;
            });
        if (b.stopped)
            return {};
        if (b.belowLowest)
            return {kEdges[0], EBootstrapBound::AtOrBelow};
        if (b.aboveHighest)
            return {kEdges[1], EBootstrapBound::AtOrAbove};
        return {0.5 * (b.lo + b.hi), EBootstrapBound::Value};
    }

    // The Monte-Carlo standard error of the solution h of quantile q: the
    // quantile's sampling error at the h tried nearest to it (half the gap
    // between the quantiles one binomial standard deviation either side)
    // over the quantile's slope against h (least squares over the h's tried
    // within 0.1 of it).
    double ErrorOf(double h, double q) const
    {
        if (m_cache.empty())
            return std::numeric_limits<double>::quiet_NaN();
        auto nearest = m_cache.lower_bound(h);
        if (nearest == m_cache.end() ||
            (nearest != m_cache.begin() && h - std::prev(nearest)->first < nearest->first - h))
            nearest = nearest == m_cache.begin() ? nearest : std::prev(nearest);
        const std::vector<double>& sorted = nearest->second.sorted;
        const double k = static_cast<double>(sorted.size());
        const double width = std::sqrt(q * (1.0 - q) / k);
        const double spread = 0.5 * (SortedQuantile(sorted, std::min(q + width, 1.0)) -
                                     SortedQuantile(sorted, std::max(q - width, 0.0)));
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        int count = 0;
        for (const auto& [x, evaluation] : m_cache) {
            if (std::fabs(x - h) > 0.1)
                continue;
            const double y = SortedQuantile(evaluation.sorted, q);
            sx += x;
            sy += y;
            sxx += x * x;
            sxy += x * y;
            ++count;
        }
        const double denominator = count * sxx - sx * sx;
        double slope = denominator > 0.0 ? (count * sxy - sx * sy) / denominator : 1.0;
        // A flat or falling stretch (too few replicates to resolve it): the
        // estimator's own slope, near 1, is the better guess.
        if (!(slope > 0.05))
            slope = 1.0;
        return spread / slope;
    }

    // The model check: each setting's calibration over the h's tried, the
    // data's spread, and the spreads of the replicates at h.
    std::optional<CModelCheck> Check(double h)
    {
        const CEvaluation* at = At(h);
        if (!at)
            return std::nullopt;
        std::vector<const CBootstrapEvaluation*> tried;
        for (const auto& [x, evaluation] : m_cache)
            tried.push_back(&evaluation);
        return CModelCheckCalibration(tried, m_request.n).CheckAt(*at, m_request.checkObserved);
    }

private:
    // The two ends, then the steps of three searches, and the model check.
    static constexpr int kMostEvaluations = 2 + 3 * kBisectionSteps + 1;

    const CEvaluation* At(double h)
    {
        if (m_cancelled)
            return nullptr;
        if (const auto found = m_cache.find(h); found != m_cache.end())
            return &found->second;
        const int pairs = (m_request.replicates + 1) / 2;
        const PairProgress onPair = [&](int taken) {
            if (!m_progress)
                return true;
            const double done = (m_evaluations + static_cast<double>(taken) / pairs) / kMostEvaluations;
            return m_progress(std::min(done, 1.0));
        };
        CEvaluation evaluation;
        evaluation.h = h;
        if (!EvaluateAt(m_request, h, m_draws, evaluation.sorted, evaluation.check, onPair)) {
            m_cancelled = true;
            return nullptr;
        }
        std::sort(evaluation.sorted.begin(), evaluation.sorted.end());
        ++m_evaluations;
        return &m_cache.emplace(h, std::move(evaluation)).first->second;
    }

    const CBootstrapRequest& m_request;
    const BootstrapProgress& m_progress;
    CNormalCache m_draws;
    std::map<double, CEvaluation> m_cache;
    int m_evaluations = 0;
    bool m_cancelled = false;
};

} // namespace

std::optional<std::string> CheckBootstrapRequest(const CBootstrapRequest& r)
{
    if (r.n < kMinBootstrapCount || r.n > kMaxBootstrapCount)
        return "A bootstrap takes from " + std::to_string(kMinBootstrapCount) + " to " +
               std::to_string(kMaxBootstrapCount) + " values; this estimate has " + std::to_string(r.n) + ".";
    if (r.replicates < 1 || r.replicates > kMaxBootstrapReplicates)
        return "The replicates must be between 1 and " + std::to_string(kMaxBootstrapReplicates) + ".";
    if (r.nD < 1 || r.nM < 1)
        return "A bootstrap needs D and M of at least 1.";
    if (r.nRMin != 1 && !IsUsableFirstLag(r.nRMin, r.nM))
        return FirstLagRangeMessage(r.nM);
    if (!(r.level > 0.0 && r.level < 1.0) || !std::isfinite(r.observedH))
        return "The estimate cannot be bootstrapped.";
    if (!r.checkObserved.empty() &&
        (r.checkObserved.size() != kModelCheckSettingCount ||
         !std::all_of(r.checkObserved.begin(), r.checkObserved.end(), [](double h) { return std::isfinite(h); })))
        return "The model check cannot be made for this series.";
    if (r.method != EHMethod::Curve && !r.checkObserved.empty())
        return "The model check is made for the curve length only.";
    return std::nullopt;
}

std::optional<bool> BootstrapIntervalsOverlap(const std::vector<const CBootstrapResult*>& results)
{
    double largestLow = -std::numeric_limits<double>::infinity();
    double leastHigh = std::numeric_limits<double>::infinity();
    int intervals = 0;
    for (const CBootstrapResult* result : results) {
        if (!result->low || !result->high)
            continue;
        largestLow = std::max(largestLow, *result->low);
        leastHigh = std::min(leastHigh, *result->high);
        ++intervals;
    }
    if (intervals < 2)
        return std::nullopt;
    return largestLow <= leastHigh;
}

namespace {

double Spread(const double* corrected)
{
    const auto [least, largest] = std::minmax_element(corrected, corrected + kModelCheckSettingCount);
    return *largest - *least;
}

constexpr double kExtendBase = 0.1;

} // namespace

CModelCheckCalibration::CModelCheckCalibration(const std::vector<const CBootstrapEvaluation*>& evaluations, int n)
    : m_n(n)
{
    for (int s = 0; s < kModelCheckSettingCount; ++s)
        for (const CBootstrapEvaluation* evaluation : evaluations) {
            std::vector<double> values;
            for (std::size_t r = 0; r < evaluation->sorted.size(); ++r)
                values.push_back(evaluation->check[r * kModelCheckSettingCount + static_cast<std::size_t>(s)]);
            std::sort(values.begin(), values.end());
            m_medians[static_cast<std::size_t>(s)].emplace_back(evaluation->h, SortedQuantile(values, 0.5));
        }
}

double CModelCheckCalibration::Calibrated(int s, double raw) const
{
    const auto& curve = m_medians[static_cast<std::size_t>(s)];
    const auto extend = [&](std::size_t edge, std::size_t other) {
        const auto& [h0, m0] = curve[edge];
        const auto& [h1, m1] = curve[other];
        const double slope = (m1 - m0) / (h1 - h0);
        return slope > 0.05 ? h0 + (raw - m0) / slope : h0;
    };
    if (!(raw > curve.front().second)) {
        std::size_t other = 1;
        while (other + 1 < curve.size() && curve[other].first - curve.front().first < kExtendBase)
            ++other;
        return curve.size() > 1 ? extend(0, other) : curve.front().first;
    }
    for (std::size_t i = 1; i < curve.size(); ++i) {
        const auto& [h0, m0] = curve[i - 1];
        const auto& [h1, m1] = curve[i];
        if (raw <= m1 && raw > m0)
            return h0 + (h1 - h0) * (raw - m0) / (m1 - m0);
    }
    std::size_t other = curve.size() - 2;
    while (other > 0 && curve.back().first - curve[other].first < kExtendBase)
        --other;
    return extend(curve.size() - 1, other);
}

double CModelCheckCalibration::SpreadOf(const double* raw) const
{
    std::array<double, kModelCheckSettingCount> corrected{};
    for (int s = 0; s < kModelCheckSettingCount; ++s)
        corrected[static_cast<std::size_t>(s)] = Calibrated(s, raw[s]);
    return Spread(corrected.data());
}

std::vector<double> CModelCheckCalibration::SortedSpreads(const CBootstrapEvaluation& at) const
{
    std::vector<double> spreads;
    spreads.reserve(at.sorted.size());
    for (std::size_t r = 0; r < at.sorted.size(); ++r)
        spreads.push_back(SpreadOf(at.check.data() + r * kModelCheckSettingCount));
    std::sort(spreads.begin(), spreads.end());
    return spreads;
}

CModelCheck CModelCheckCalibration::CheckAt(const CBootstrapEvaluation& at, const std::vector<double>& observedRaw) const
{
    CModelCheck check;
    check.settings = ModelCheckSettings(m_n);
    for (int s = 0; s < kModelCheckSettingCount; ++s)
        check.corrected[s] = Calibrated(s, observedRaw[static_cast<std::size_t>(s)]);
    check.statistic = Spread(check.corrected.data());
    const std::vector<double> spreads = SortedSpreads(at);
    const auto atOrAbove =
        std::count_if(spreads.begin(), spreads.end(), [&](double spread) { return spread >= check.statistic; });
    check.threshold = SortedQuantile(spreads, 0.95);
    check.pValue = static_cast<double>(atOrAbove) / static_cast<double>(spreads.size());
    check.passed = check.statistic <= check.threshold;
    return check;
}

std::vector<CBootstrapEvaluation> EvaluateBootstrapAt(const CBootstrapRequest& request, const std::vector<double>& hs,
                                                      bool withCheck, const BootstrapProgress& progress)
{
    CBootstrapRequest asked = request;
    if (withCheck && asked.checkObserved.empty())
        asked.checkObserved.assign(kModelCheckSettingCount, 0.0);
    if (!withCheck)
        asked.checkObserved.clear();
    std::vector<CBootstrapEvaluation> evaluations;
    if (!UsableRequest(asked))
        return evaluations;
    CNormalCache draws(asked, true);
    const int pairs = (asked.replicates + 1) / 2;
    for (std::size_t i = 0; i < hs.size(); ++i) {
        const PairProgress onPair = [&](int taken) {
            return !progress || progress((static_cast<double>(i) + static_cast<double>(taken) / pairs) /
                                         static_cast<double>(hs.size()));
        };
        CBootstrapEvaluation evaluation;
        evaluation.h = hs[i];
        if (!EvaluateAt(asked, hs[i], draws, evaluation.sorted, evaluation.check, onPair))
            return {};
        if (withCheck)
            evaluation.estimates = evaluation.sorted;
        std::sort(evaluation.sorted.begin(), evaluation.sorted.end());
        evaluations.push_back(std::move(evaluation));
    }
    return evaluations;
}

std::vector<double> BootstrapEstimates(const CBootstrapRequest& request, double h)
{
    std::vector<double> estimates, check;
    if (UsableRequest(request)) {
        CNormalCache draws(request, false);
        EvaluateAt(request, h, draws, estimates, check, {});
    }
    return estimates;
}

CBootstrapResult RunBootstrap(const CBootstrapRequest& request, const BootstrapProgress& progress)
{
    CBootstrapResult result;
    result.replicates = request.replicates;
    result.seed = request.seed;
    result.nRMin = request.nRMin;
    result.level = request.level;
    result.observedH = request.observedH;
    result.model = request.model;
    result.decision = request.decision;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    result.correctedError = result.lowError = result.highError = nan;
    if (!UsableRequest(request))
        return result;
    CBootstrapSearch search(request, progress);
    if (search.Reachable()) {
        const double tail = 0.5 * (1.0 - request.level);
        const auto take = [&](double q, std::optional<double>& value, EBootstrapBound& bound, double& error) {
            const CSolution solution = search.Solve(q);
            value = solution.value;
            bound = solution.bound;
            if (value && bound == EBootstrapBound::Value)
                error = search.ErrorOf(*value, q);
        };
        take(0.5, result.corrected, result.correctedBound, result.correctedError);
        take(1.0 - tail, result.low, result.lowBound, result.lowError);
        take(tail, result.high, result.highBound, result.highError);
        if (result.corrected && !request.checkObserved.empty())
            result.check = search.Check(*result.corrected);
    }
    if (search.Cancelled()) {
        result.cancelled = true;
        result.corrected.reset();
        result.low.reset();
        result.high.reset();
        result.check.reset();
    } else {
        result.grid = search.Grid(0.5 * (1.0 - request.level));
        if (progress)
            progress(1.0);
    }
    return result;
}
