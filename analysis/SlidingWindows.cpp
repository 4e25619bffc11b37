#include "analysis/SlidingWindows.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/HDataSet.h"
#include "document/KestrinDoc.h"
#include "core/OptimumM.h"
#include "core/simd/SimdKernels.h"
#include "platform/StatusOperation.h"
#include "core/WorkSplit.h"

std::optional<std::string> CheckSlidingWindowParams(const SlidingWindowParams& params)
{
    if (params.spacing <= 0)
        return std::string("Spacing must be geater than 0.");
    if (params.width <= 0)
        return std::string("Width must be greater than 0.");
    if (!params.useBestM && !IsUsableLagCount(params.nM))
        return LagCountMessage();
    if (params.nD < 0)
        return std::string("D must not be negative.");
    if (params.nRMin != 1 && !IsUsableFirstLag(params.nRMin, WindowM(params)))
        return FirstLagRangeMessage(WindowM(params));
    return std::nullopt;
}

std::int64_t CountSlidingWindows(std::int64_t n, std::int32_t width, std::int32_t spacing)
{
    if (width < 1 || spacing < 1 || width >= n)
        return 0;
    // The k with width + k * spacing < n: 0 .. (n - 1 - width) / spacing.
    return (n - 1 - width) / spacing + 1;
}

std::int32_t WindowM(const SlidingWindowParams& params)
{
    return params.useBestM ? OptimumM(params.width) : params.nM;
}

namespace {

constexpr const char* kPreparing = "Preparing...";
constexpr const char* kSlidingProgress = "Calculating Sliding Windows (%i %%)";

// What every window shares: its width, D, M, the first lag of the fit, the
// lags that can have a segment, and the sums of log10 r over the fitted lags
// r_min..M (the same for every window, taken in r order as the estimator
// takes them).
struct CWindowPlan
{
    std::int32_t width = 0;
    std::int32_t spacing = 1;
    std::int32_t nD = 0;
    std::int32_t nM = 0;
    std::int32_t nRMin = 1;
    // Lags 1..lags have segments; beyond them L(r) = 0, whose log is read
    // as 0.0. The estimator still adds those zeros (and log10 r * 0.0 = +0.0)
    // to its sums, but a sum that starts at +0.0 is never -0.0 once anything
    // has been added (x + -x is +0.0), so adding +0.0 leaves it exactly as it
    // was: skipping those lags changes no bit.
    std::int32_t lags = 0;
    double plotPoint = 0.5;
    std::int64_t windows = 0;
    std::vector<double> logR; // log10 r, r = 1..lags (index r - 1)
    double sx = 0.0;
    double sxx = 0.0;
};

CWindowPlan MakePlan(std::int64_t n, const SlidingWindowParams& params)
{
    CWindowPlan plan;
    plan.width = params.width;
    plan.spacing = params.spacing;
    plan.nD = params.nD;
    plan.nM = WindowM(params);
    plan.nRMin = params.nRMin;
    plan.plotPoint = params.plotPoint;
    plan.windows = CountSlidingWindows(n, params.width, params.spacing);
    const std::int64_t withSegments = plan.nD > 0 ? static_cast<std::int64_t>(plan.width) - plan.nD : 0;
    plan.lags = static_cast<std::int32_t>(std::clamp<std::int64_t>(std::min<std::int64_t>(plan.nM, withSegments), 0,
                                                                   std::max(plan.nM, 0)));
    plan.logR.resize(static_cast<std::size_t>(plan.lags));
    for (std::int32_t r = 1; r <= plan.nM; ++r) {
        const double logR = std::log10(static_cast<double>(r));
        if (r <= plan.lags)
            plan.logR[static_cast<std::size_t>(r - 1)] = logR;
        if (r < plan.nRMin)
            continue;
        plan.sx += logR;
        plan.sxx += logR * logR;
    }
    return plan;
}

// The per-window sums of the fit that depend on the window's lengths.
struct CWindowSums
{
    double sy = 0.0;
    double sxy = 0.0;
    double syy = 0.0;
};

inline void AddLag(CWindowSums& sums, double logR, double logL)
{
    sums.sy += logL;
    sums.sxy += logR * logL;
    sums.syy += logL * logL;
}

CHPoint MakeResult(const CWindowPlan& plan, std::int64_t start, const CWindowSums& sums)
{
    const CLagFit fit = FitLagSums(plan.sx, sums.sy, plan.sxx, sums.syy, sums.sxy,
                                   FittedLagCount({.nM = plan.nM, .nRMin = plan.nRMin}));
    CHPoint p;
    p.m_nCount = plan.width;
    p.m_dY = fit.h;
    p.m_dX = static_cast<double>(plan.width) * plan.plotPoint + static_cast<double>(start);
    p.m_dB = fit.b;
    p.m_dR = fit.r;
    return p;
}

// Work buffers of one thread, kept from chunk to chunk.
struct CChunkBuffers
{
    std::vector<double> line;  // one lag's segment lengths in position order
    std::vector<double> table; // the same by residue (see CSimdKernels)
    std::vector<double> lagSums;
    std::vector<CWindowSums> sums;
};

// Where a chunk's windows lie in its compact positions: window w of the
// chunk starts at w * stride. Windows that overlap keep the series' own
// positions (stride = spacing); windows that share no value are packed one
// after the other (stride = width), so the values between them cost nothing.
std::int64_t CompactStride(const CWindowPlan& plan)
{
    return std::min<std::int64_t>(plan.spacing, plan.width);
}

// The windows [k0, k1). For each lag r every segment length the chunk's
// windows use is computed once, with the estimator's own arithmetic; then
// each window adds its own segments' lengths from 0.0 in segment order, just
// as the estimator does, and the fit takes the lags in r order. So every
// result, and every L(r), is bit for bit the estimator's over the window.
// Only the lengths are shared, never a partial sum.
void ComputeChunk(const double* y, const CWindowPlan& plan, const CSimdKernels& kernels,
                  std::int64_t k0, std::int64_t k1, CChunkBuffers& buf, CHPoint* out, double* lengths)
{
    const std::int64_t sp = plan.spacing;
    const std::int64_t width = plan.width;
    const std::int64_t stride = CompactStride(plan);
    const bool packed = sp > width;
    const std::int64_t count = k1 - k0;
    const std::int64_t span = (count - 1) * stride + width;
    // Every compact position b < span has its row b / stride below rows.
    const std::int64_t rows = count + (width - 1) / stride;
    const int nD = plan.nD;
    buf.table.resize(static_cast<std::size_t>(stride * rows));
    if (stride > 1)
        buf.line.resize(static_cast<std::size_t>(span));
    buf.lagSums.resize(static_cast<std::size_t>(count));
    buf.sums.assign(static_cast<std::size_t>(count), CWindowSums{});
    double* line = stride > 1 ? buf.line.data() : buf.table.data();
    double* table = buf.table.data();

    for (std::int32_t lag = 1; lag <= plan.lags; ++lag) {
        const std::int64_t r = lag;
        // Segments starting within `ends` of a run of values stay inside it.
        const std::int64_t ends = r + nD - 1;
        if (packed) {
            for (std::int64_t w = 0; w < count; ++w)
                kernels.segmentLengths(y + (k0 + w) * sp, width - ends, r, nD, line + w * width);
        } else {
            kernels.segmentLengths(y + k0 * sp, span - ends, r, nD, line);
        }
        if (stride > 1) {
            for (std::int64_t c = 0; c < stride; ++c) {
                double* row = table + c * rows;
                for (std::int64_t q = 0, b = c; b < span; ++q, b += stride)
                    row[q] = line[b];
            }
        }
        const std::int64_t segments = (width - nD) / r;
        kernels.windowLagSums(table, rows, stride, count, segments, r, buf.lagSums.data());
        const double logR = plan.logR[static_cast<std::size_t>(lag - 1)];
        for (std::int64_t w = 0; w < count; ++w) {
            const double length = buf.lagSums[static_cast<std::size_t>(w)];
            if (lag >= plan.nRMin)
                AddLag(buf.sums[static_cast<std::size_t>(w)], logR, LogLengthPerLag(length, lag));
            if (lengths)
                lengths[w * plan.nM + lag - 1] = length;
        }
    }
    for (std::int64_t w = 0; w < count; ++w)
        out[w] = MakeResult(plan, (k0 + w) * sp, buf.sums[static_cast<std::size_t>(w)]);
}

// Compact positions whose lengths a chunk holds: enough that the lengths
// near a chunk's end, which the next chunk computes again, are few; few
// enough that one lag's table stays in the processor's second-level cache.
constexpr std::int64_t kChunkPositions = std::int64_t{1} << 16;

// Windows per chunk: as many as the positions allow, but at least eight
// chunks when there are windows enough, so the workers finish together and
// the progress text moves.
std::int64_t ChunkWindows(const CWindowPlan& plan)
{
    const std::int64_t stride = CompactStride(plan);
    const std::int64_t positions = std::max<std::int64_t>(kChunkPositions, 2 * std::int64_t{plan.width});
    const std::int64_t most = std::max<std::int64_t>((positions - plan.width) / stride + 1, 1);
    const std::int64_t chunks =
        std::max((plan.windows + most - 1) / most, std::min<std::int64_t>(8, plan.windows / 256));
    return (plan.windows + chunks - 1) / std::max<std::int64_t>(chunks, 1);
}

} // namespace

CHPointArray ComputeSlidingWindowResults(const CSeriesArray& series, const SlidingWindowParams& params,
                                         const PercentCallback& progress, const SlidingWindowRun& run)
{
    CHPointArray results;
    if (CheckSlidingWindowParams(params))
        return results;
    const CWindowPlan plan = MakePlan(series.GetSize(), params);
    if (run.lengths)
        run.lengths->assign(static_cast<std::size_t>(plan.windows * std::max(plan.nM, 0)), 0.0);
    CPercentReporter reporter(progress, plan.windows);
    reporter.Start();
    if (plan.windows == 0)
        return results;

    // The windows read the series' values in place.
    const double* y = series.Ys();
    results.SetSize(static_cast<int>(plan.windows));
    CHPoint* out = results.GetData();
    const CSimdKernels& kernels = SimdKernels(run.lanes);

    const std::int64_t perChunk = ChunkWindows(plan);
    const std::int64_t chunks = (plan.windows + perChunk - 1) / perChunk;
    const CWorkSplit split(chunks, run.threads);
    std::vector<CChunkBuffers> buffers(split.Workers());
    split.Run(
        [&](std::int64_t c, unsigned worker) {
            const std::int64_t k0 = c * perChunk;
            const std::int64_t k1 = std::min(plan.windows, k0 + perChunk);
            double* lengths = run.lengths ? run.lengths->data() + k0 * plan.nM : nullptr;
            ComputeChunk(y, plan, kernels, k0, k1, buffers[worker], out + k0, lengths);
        },
        [&](std::int64_t finished) {
            // Every chunk but the last holds perChunk windows.
            reporter.Report(std::min(finished * perChunk, plan.windows));
            return true;
        });
    reporter.Finish();
    return results;
}

CHPointArray ComputeSlidingWindowResultsDirect(const CSeriesArray& series, const SlidingWindowParams& params,
                                               std::vector<double>* lengths)
{
    CHPointArray results;
    if (lengths)
        lengths->clear();
    if (CheckSlidingWindowParams(params))
        return results;
    const std::int64_t n = series.GetSize();
    CHDataSet set;
    set.m_bAutoCompute = 0;
    for (std::int64_t start = 0; start + params.width < n; start += params.spacing) {
        set.Reset({.nD = params.nD, .nM = params.nM, .nRMin = params.nRMin});
        for (std::int64_t i = start; i < start + params.width; ++i)
            set.AddValue(series[static_cast<int>(i)].m_dY);
        if (params.useBestM)
            set.SetM(OptimumM(set.GetValueCount()));
        set.Compute();
        CHPoint p;
        p.m_nCount = set.GetCount();
        p.m_dY = set.GetH();
        p.m_dX = static_cast<double>(set.GetCount()) * params.plotPoint + static_cast<double>(start);
        p.m_dB = set.GetB();
        p.m_dR = set.GetR();
        results.Add(p);
        for (int i = 0; lengths && i < set.GetM(); ++i)
            lengths->push_back(set.GetL(i));
    }
    return results;
}

void ClearSlidingWindows(CKestrinDoc& doc)
{
    CStatusOperation status(doc.Ui(), "Clearing Sliding Window Array...");
    doc.m_windows.RemoveAll();
    doc.m_band.reset();
    doc.SetModifiedFlag(true);
}

bool ComputeSlidingWindows(CKestrinDoc& doc, const SlidingWindowParams& params)
{
    if (CheckSlidingWindowParams(params))
        return false;
    ClearSlidingWindows(doc);
    CStatusOperation status(doc.Ui(), kPreparing);
    doc.TakeSlidingWindows(
        ComputeSlidingWindowResults(
            doc.m_points, params,
            [&status](int percent) { status.SetText(FormatPercentValue(kSlidingProgress, percent)); }),
        params.spacing);
    return true;
}

void ResetPlotPositions(CHPointArray& windows, double plotPoint, std::int32_t spacing, const PercentCallback& progress)
{
    const int count = windows.GetSize();
    CPercentReporter reporter(progress, count);
    reporter.Start();
    for (int i = 0; i < count; ++i) {
        CHPoint& p = windows[i];
        p.m_dX = static_cast<double>(p.m_nCount) * plotPoint +
                 static_cast<double>(static_cast<std::int64_t>(i) * spacing);
        if ((i & 0xFFF) == 0)
            reporter.Report(i);
    }
    reporter.Finish();
}

void ResetPlotPoints(CKestrinDoc& doc, double plotPoint)
{
    if (doc.m_windows.IsEmpty())
        return;
    doc.SetModifiedFlag(true);
    CStatusOperation status(doc.Ui(), "Resetting plot points...");
    ResetPlotPositions(doc.m_windows, plotPoint, doc.m_nSpacing, [&status](int percent) {
        status.SetText(FormatPercentValue("Resetting plot points (%i %%)", percent));
    });
}
