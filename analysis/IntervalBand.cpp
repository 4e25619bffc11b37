#include "analysis/IntervalBand.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "core/Format.h"
#include "core/WorkSplit.h"
#include "document/KestrinDoc.h"
#include "platform/StatusOperation.h"

namespace {

constexpr const char* kBandProgress = "Calculating Interval Band (%i %%)";
// The share of the progress that the grid takes; reading the windows and the
// check take the rest.
constexpr double kGridShare = 0.97;
// Windows read per item of the work split.
constexpr std::int64_t kReadChunk = 8192;

// SortedQuantile of the ascending values without the one at skip, read in
// place: the same numbers as erasing it first.
double SortedQuantileWithout(const std::vector<double>& sorted, std::size_t skip, double q)
{
    const std::size_t size = sorted.size() - 1;
    if (size == 0)
        return 0.0;
    const auto at = [&](std::size_t j) { return sorted[j < skip ? j : j + 1]; };
    const double position = static_cast<double>(size - 1) * q;
    const auto below = static_cast<std::size_t>(std::floor(position));
    if (below + 1 >= size)
        return at(size - 1);
    const double fraction = position - static_cast<double>(below);
    return at(below) + fraction * (at(below + 1) - at(below));
}

// A window's check at the window width, and how often it fails under the
// model itself. A window fails when no h reaches its H, or when the spread of
// its check's estimates exceeds the 95th percentile of the replicates'
// spreads at the grid h nearest its corrected H. Under the model that
// happens more often than the check's nominal 5 %: the window's own
// corrected H chooses the replicates it is compared with, and a percentile of
// finitely many replicates is exceeded a little more often than its level
// says. So the share expected is measured, not assumed: the grid's replicates
// at an h are taken through the same steps (read from the grid, checked at
// the grid h nearest their corrected H), each compared without itself, as a
// window is compared with replicates it is not one of.
class CBandWindowCheck
{
public:
    CBandWindowCheck(const CBootstrapGrid& grid, const CModelCheckCalibration& calibration)
        : m_grid(grid), m_calibration(calibration), m_spreads(grid.evaluations.size()),
          m_nullShares(grid.evaluations.size())
    {
    }

    // Whether an estimate read as read, with the check's estimates raw,
    // fails; own: the evaluation whose replicate it is, if any.
    bool Fails(const CBandWindow& read, const double* raw, std::optional<std::size_t> own = std::nullopt)
    {
        if (!read.Reached())
            return true;
        const std::size_t e = IndexNear(read.corrected);
        const double spread = m_calibration.SpreadOf(raw);
        const std::vector<double>& spreads = Spreads(e);
        if (own != e)
            return spread > SortedQuantile(spreads, 0.95);
        const auto self = static_cast<std::size_t>(std::lower_bound(spreads.begin(), spreads.end(), spread) -
                                                   spreads.begin());
        return spread > SortedQuantileWithout(spreads, self, 0.95);
    }

    // The share of the replicates at the grid h nearest h that fail, with
    // one half added to the failures and one to the count, so that no share
    // is taken as 0 from finitely many replicates.
    double NullShareNear(double h)
    {
        const std::size_t e = IndexNear(h);
        if (!m_nullShares[e]) {
            const CBootstrapEvaluation& at = m_grid.evaluations[e];
            int failing = 0;
            for (std::size_t r = 0; r < at.estimates.size(); ++r)
                if (Fails(ReadBootstrapGrid(m_grid, at.estimates[r]), at.check.data() + r * kModelCheckSettingCount, e))
                    ++failing;
            m_nullShares[e] = (failing + 0.5) / (static_cast<double>(at.estimates.size()) + 1.0);
        }
        return *m_nullShares[e];
    }

private:
    std::size_t IndexNear(double h) const { return NearestGridIndex(m_grid, h); }

    const std::vector<double>& Spreads(std::size_t e)
    {
        if (m_spreads[e].empty())
            m_spreads[e] = m_calibration.SortedSpreads(m_grid.evaluations[e]);
        return m_spreads[e];
    }

    const CBootstrapGrid& m_grid;
    const CModelCheckCalibration& m_calibration;
    std::vector<std::vector<double>> m_spreads;
    std::vector<std::optional<double>> m_nullShares;
};

} // namespace

CIntervalBandOptions DocumentBandOptions(const CKestrinDoc& doc, int replicates, std::uint64_t seed,
                                         ESeriesInput input)
{
    CIntervalBandOptions options;
    options.replicates = replicates;
    options.seed = seed;
    options.input = input;
    options.isProfile = doc.IsProfile();
    return options;
}

CBootstrapRequest BandRequestFor(const SlidingWindowParams& params, const CSeriesDecision& decision,
                                 const CIntervalBandOptions& options)
{
    CBootstrapRequest request;
    request.n = params.width;
    request.nD = params.nD;
    request.nM = WindowM(params);
    request.nRMin = params.nRMin;
    request.replicates = options.replicates;
    request.seed = options.seed;
    request.level = options.level;
    request.threads = options.threads;
    request.model = BootstrapModelFor(decision);
    request.decision = decision;
    return request;
}

std::optional<std::string> CheckIntervalBand(const SlidingWindowParams& params, const CIntervalBandOptions& options)
{
    if (auto reason = CheckSlidingWindowParams(params))
        return reason;
    return CheckBootstrapRequest(BandRequestFor(params, CSeriesDecision{}, options));
}

double BinomialUpperTail(int n, int k, double p)
{
    if (k <= 0)
        return 1.0;
    if (k > n)
        return 0.0;
    double sum = 0.0;
    for (int j = k; j <= n; ++j)
        sum += std::exp(std::lgamma(n + 1.0) - std::lgamma(j + 1.0) - std::lgamma(n - j + 1.0) + j * std::log(p) +
                        (n - j) * std::log1p(-p));
    return std::min(sum, 1.0);
}

CBandCheck CheckBandModel(const CBootstrapGrid& grid, std::span<const double> values,
                          const CHPointArray& windows, const std::vector<CBandWindow>& read,
                          const SlidingWindowParams& params)
{
    CBandCheck check;
    const std::int64_t count = windows.GetSize();
    if (grid.Empty() || grid.evaluations.front().check.empty() || count == 0)
        return check;
    // Windows apart by at least the width share no value.
    const std::int64_t stride = (params.width + params.spacing - 1) / params.spacing;
    const std::int64_t candidates = (count - 1) / stride + 1;
    const std::int64_t taken = std::min<std::int64_t>(candidates, kBandCheckWindows);

    std::vector<const CBootstrapEvaluation*> evaluations;
    for (const CBootstrapEvaluation& e : grid.evaluations)
        evaluations.push_back(&e);
    const CModelCheckCalibration calibration(evaluations, params.width);
    CBandWindowCheck windowCheck(grid, calibration);
    double nullShares = 0.0;
    for (std::int64_t j = 0; j < taken; ++j) {
        const std::int64_t i = j * candidates / taken * stride;
        const std::int64_t start = i * params.spacing;
        if (start + params.width > static_cast<std::int64_t>(values.size()))
            continue;
        const CBandWindow& w = read[static_cast<std::size_t>(i)];
        const std::vector<double> raw =
            ModelCheckEstimates(values.data() + start, static_cast<int>(params.width));
        if (!std::all_of(raw.begin(), raw.end(), [](double h) { return std::isfinite(h); }))
            continue; // a constant window: nothing to check
        ++check.windows;
        if (windowCheck.Fails(w, raw.data()))
            ++check.failing;
        nullShares += windowCheck.NullShareNear(w.Reached() ? w.corrected : windows[static_cast<int>(i)].m_dY);
    }
    if (check.windows == 0)
        return check;
    check.expectedShare = nullShares / check.windows;
    check.pValue = BinomialUpperTail(check.windows, check.failing, check.expectedShare);
    check.passed = check.pValue >= kBandCheckAlpha;
    return check;
}

std::optional<CIntervalBand> ComputeIntervalBand(const CSeriesArray& series, const CHPointArray& windows,
                                                 const SlidingWindowParams& params,
                                                 const CIntervalBandOptions& options,
                                                 const BootstrapProgress& progress)
{
    if (CheckIntervalBand(params, options) || windows.IsEmpty())
        return std::nullopt;
    const std::span<const double> values(series.Ys(), static_cast<std::size_t>(series.GetSize()));
    const CSeriesDecision decision = DecideSeriesKind(values.data(), values.size(), options.input, options.isProfile);
    const CBootstrapRequest request = BandRequestFor(params, decision, options);
    const CBootstrapGrid grid = ComputeBootstrapGrid(request, kBootstrapGridDepth, true, [&](double fraction) {
        return !progress || progress(kGridShare * fraction);
    });
    if (grid.Empty())
        return std::nullopt;

    CIntervalBand band;
    band.replicates = request.replicates;
    band.seed = request.seed;
    band.level = request.level;
    band.width = request.n;
    band.nD = request.nD;
    band.nM = request.nM;
    band.nRMin = request.nRMin;
    band.model = static_cast<std::int32_t>(request.model);
    band.input = static_cast<std::int32_t>(decision.input);
    band.isProfile = decision.isProfile;
    band.alpha = decision.alpha;
    band.measured = static_cast<std::int32_t>(decision.measured);
    band.estimatedAs = static_cast<std::int32_t>(decision.estimatedAs);

    const std::int64_t count = windows.GetSize();
    band.windows.resize(static_cast<std::size_t>(count));
    const CWorkSplit split((count + kReadChunk - 1) / kReadChunk, options.threads);
    const bool whole = split.Run(
        [&](std::int64_t item, unsigned) {
            const std::int64_t end = std::min(count, (item + 1) * kReadChunk);
            for (std::int64_t i = item * kReadChunk; i < end; ++i)
                band.windows[static_cast<std::size_t>(i)] = ReadBootstrapGrid(grid, windows[static_cast<int>(i)].m_dY);
        },
        [&](std::int64_t finished) {
            return !progress ||
                   progress(kGridShare + (1.0 - kGridShare) * 0.5 * static_cast<double>(finished) / split.Items());
        });
    if (!whole)
        return std::nullopt;
    band.check = CheckBandModel(grid, values, windows, band.windows, params);
    if (progress && !progress(1.0))
        return std::nullopt;
    return band;
}

CSeriesDecision BandDecision(const CIntervalBand& band)
{
    CSeriesDecision decision;
    decision.input = static_cast<ESeriesInput>(band.input);
    decision.isProfile = band.isProfile;
    decision.alpha = band.alpha;
    decision.measured = static_cast<ESeriesKind>(band.measured);
    decision.estimatedAs = static_cast<ESeriesKind>(band.estimatedAs);
    return decision;
}

EBootstrapModel BandModel(const CIntervalBand& band)
{
    return static_cast<EBootstrapModel>(band.model);
}

std::string BandStatement(const CIntervalBand& band)
{
    std::string out = std::string("model ") + BootstrapModelName(BandModel(band)) + " (" +
                      SeriesKindLabel(BandDecision(band)) + "); check at the window width: ";
    const CBandCheck& c = band.check;
    if (c.windows == 0)
        return out + "no window could be checked";
    out += std::to_string(c.failing) + " of " + std::to_string(c.windows) +
           (c.windows == 1 ? " window fails" : " windows fail") + " (" +
           FormatFixed(100.0 * c.expectedShare, 1) + " % expected), ";
    return out + (c.passed ? "passed" : "failed: the series is not like the model, and the band may mislead");
}

std::optional<std::string> BandWarning(const CIntervalBand& band)
{
    if (band.check.passed)
        return std::nullopt;
    return "the interval band's model check failed: " + BandStatement(band);
}

const char* BoundWord(EBandBound bound)
{
    return BoundWord(static_cast<EBootstrapBound>(bound));
}

bool ComputeDocumentBand(CKestrinDoc& doc, const SlidingWindowParams& params, const CIntervalBandOptions& options,
                         const BootstrapProgress& progress, std::string* why)
{
    doc.m_band.reset();
    std::optional<std::string> reason = CheckIntervalBand(params, options);
    if (!reason && doc.m_windows.IsEmpty())
        reason = "There are no sliding-window results to give an interval band.";
    if (reason) {
        if (why)
            *why = *reason;
        return false;
    }
    CStatusOperation status(doc.Ui(), FormatPercentValue(kBandProgress, 0));
    int shown = 0;
    std::optional<CIntervalBand> band =
        ComputeIntervalBand(doc.m_points, doc.m_windows, params, options, [&](double fraction) {
            const int percent = std::clamp(static_cast<int>(fraction * 100.0), 0, 100);
            if (percent != shown)
                status.SetText(FormatPercentValue(kBandProgress, shown = percent));
            return !progress || progress(fraction);
        });
    if (!band)
        return false;
    doc.m_band = std::move(band);
    doc.SetModifiedFlag(true);
    return true;
}
