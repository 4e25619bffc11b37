#include "Bootstrap.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <exception>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "FbmSimulation.h"
#include "HDataSet.h"

CBootstrapRequest BootstrapRequestFor(const CHDataSet& set)
{
    CBootstrapRequest request;
    request.n = set.GetCount();
    request.nD = set.GetD();
    request.nM = set.GetM();
    request.observedH = set.GetH();
    return request;
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

// The estimate of one simulated path of noise: its running sum (the
// motion), estimated by a CHDataSet with the request's D and M.
double EstimateMotion(CHDataSet& set, std::vector<double>& noise)
{
    CumulativeSum(noise.data(), noise.size());
    set.Values().Storage().assign(noise.begin(), noise.end());
    set.Compute();
    return set.GetH();
}

unsigned WorkerCount(unsigned asked, int pairs)
{
    unsigned count = asked;
    if (count == 0)
        count = std::max(1u, std::thread::hardware_concurrency());
    return std::min<unsigned>(count, static_cast<unsigned>(std::max(pairs, 1)));
}

// Fills estimates (in replicate order) for exponent h. Pairs of replicates
// are handed out one at a time to the workers; which worker takes a pair
// does not change its numbers, which come from the pair's own stream.
// False when progress stopped it.
bool EvaluateAt(const CBootstrapRequest& request, double h, CNormalCache& draws, std::vector<double>& estimates,
                const PairProgress& progress)
{
    const CFgnGenerator generator(request.n, h);
    const int count = request.replicates;
    const int pairs = (count + 1) / 2;
    estimates.assign(static_cast<std::size_t>(count), 0.0);
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::exception_ptr failure;
    std::mutex failureLock;

    auto work = [&](bool onCaller) {
        try {
            CHDataSet set(request.nD, request.nM);
            set.m_bAutoCompute = 0;
            std::vector<double> normals;
            std::vector<double> first(static_cast<std::size_t>(request.n));
            std::vector<double> second(static_cast<std::size_t>(request.n));
            std::vector<std::complex<double>> work;
            for (int p = next.fetch_add(1); p < pairs && !stop.load(); p = next.fetch_add(1)) {
                draws.Draws(p, normals);
                generator.Generate(normals.data(), first.data(), second.data(), work);
                estimates[static_cast<std::size_t>(2 * p)] = EstimateMotion(set, first);
                if (2 * p + 1 < count)
                    estimates[static_cast<std::size_t>(2 * p + 1)] = EstimateMotion(set, second);
                if (onCaller && progress && !progress(std::min(next.load(), pairs)))
                    stop = true;
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failureLock);
            if (!failure)
                failure = std::current_exception();
            stop = true;
        }
    };

    std::vector<std::thread> helpers;
    const unsigned workers = WorkerCount(request.threads, pairs);
    for (unsigned i = 1; i < workers; ++i) {
        try {
            helpers.emplace_back(work, false);
        } catch (const std::system_error&) {
            break; // fewer helpers: the same numbers, later
        }
    }
    work(true);
    for (std::thread& t : helpers)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
    return !stop.load();
}

bool UsableRequest(const CBootstrapRequest& r)
{
    return !CheckBootstrapRequest(r);
}

// The sorted estimates at every h tried so far, and the search itself.
class CBootstrapSearch
{
public:
    CBootstrapSearch(const CBootstrapRequest& request, const BootstrapProgress& progress)
        : m_request(request), m_progress(progress), m_draws(request, true)
    {
    }

    bool Cancelled() const { return m_cancelled; }

    // The h in the searched range whose q-quantile equals the observed H,
    // by bisection; nothing when it lies outside what the range reaches,
    // or when the run was cancelled.
    std::optional<double> Solve(double q)
    {
        double lo = kBootstrapLowestH;
        double hi = kBootstrapHighestH;
        const double observed = m_request.observedH;
        const std::vector<double>* atLow = At(lo);
        if (!atLow || observed < SortedQuantile(*atLow, q))
            return std::nullopt;
        const std::vector<double>* atHigh = At(hi);
        if (!atHigh || observed > SortedQuantile(*atHigh, q))
            return std::nullopt;
        for (int step = 0; step < kBisectionSteps; ++step) {
            const double mid = 0.5 * (lo + hi);
            const std::vector<double>* atMid = At(mid);
            if (!atMid)
                return std::nullopt;
            if (SortedQuantile(*atMid, q) < observed)
                lo = mid;
            else
                hi = mid;
        }
        return 0.5 * (lo + hi);
    }

private:
    // The two ends, then the steps of three searches.
    static constexpr int kMostEvaluations = 2 + 3 * kBisectionSteps;

    const std::vector<double>* At(double h)
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
        std::vector<double> estimates;
        if (!EvaluateAt(m_request, h, m_draws, estimates, onPair)) {
            m_cancelled = true;
            return nullptr;
        }
        std::sort(estimates.begin(), estimates.end());
        ++m_evaluations;
        return &m_cache.emplace(h, std::move(estimates)).first->second;
    }

    const CBootstrapRequest& m_request;
    const BootstrapProgress& m_progress;
    CNormalCache m_draws;
    std::map<double, std::vector<double>> m_cache;
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
    if (!(r.level > 0.0 && r.level < 1.0) || !std::isfinite(r.observedH))
        return "The estimate cannot be bootstrapped.";
    return std::nullopt;
}

std::vector<double> BootstrapEstimates(const CBootstrapRequest& request, double h)
{
    std::vector<double> estimates;
    if (UsableRequest(request)) {
        CNormalCache draws(request, false);
        EvaluateAt(request, h, draws, estimates, {});
    }
    return estimates;
}

CBootstrapResult RunBootstrap(const CBootstrapRequest& request, const BootstrapProgress& progress)
{
    CBootstrapResult result;
    result.replicates = request.replicates;
    result.seed = request.seed;
    result.level = request.level;
    result.observedH = request.observedH;
    if (!UsableRequest(request))
        return result;
    CBootstrapSearch search(request, progress);
    const double tail = 0.5 * (1.0 - request.level);
    result.corrected = search.Solve(0.5);
    result.low = search.Solve(1.0 - tail);
    result.high = search.Solve(tail);
    if (search.Cancelled()) {
        result.cancelled = true;
        result.corrected.reset();
        result.low.reset();
        result.high.reset();
    } else if (progress) {
        progress(1.0);
    }
    return result;
}
