#include "SlidingWindows.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

#include "HDataSet.h"
#include "KestrinDoc.h"
#include "OptimumM.h"
#include "StatusOperation.h"

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

// Hands the callback the whole percentages a window-by-window loop would
// show (window d of total shows d / total * 100, truncated), each once and
// in order, as far as the work done so far allows.
class CPercentReporter
{
public:
    CPercentReporter(const PercentCallback& callback, std::int64_t total) : m_callback(callback), m_total(total) {}
    // done windows are finished: the loop has reached window done.
    void Report(std::int64_t done)
    {
        if (!m_callback)
            return;
        const std::int64_t upTo = std::min(done, m_total - 1);
        for (; m_next <= upTo; ++m_next) {
            const int percent = TruncatedPercent(m_next, m_total);
            if (percent != m_shown)
                m_callback(m_shown = percent);
        }
    }
    void Start() { Report(0); }
    void Finish() { Report(m_total); }

private:
    const PercentCallback& m_callback;
    std::int64_t m_total;
    std::int64_t m_next = 0;
    int m_shown = -1;
};

// What every window shares: its width, D, M, the lags that can have a
// segment, and the sums of log10 r over all M lags (the same for every
// window, taken in r order as the estimator takes them).
struct CWindowPlan
{
    std::int32_t width = 0;
    std::int32_t spacing = 1;
    std::int32_t nD = 0;
    std::int32_t nM = 0;
    // Lags 1..lags have segments; beyond them L(r) = 0, whose log is read
    // as 0 and adds nothing to the window's own sums.
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
    const CLagFit fit = FitLagSums(plan.sx, sums.sy, plan.sxx, sums.syy, sums.sxy, plan.nM);
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
    std::vector<double> suffix; // segment lengths, then the block suffix sums
    std::vector<double> prefix;
    std::vector<CWindowSums> sums;
};

// The windows [k0, k1) computed with shared segments. For lag r, a window
// starting at s sums the lengths of the segments starting at s, s + r, ...,
// s + (segs - 1) r: a run of segs consecutive members of the residue class
// of s modulo r. Each class is cut into blocks of segs members (the blocks
// are fixed by the class alone, not by the chunk, so a window's result does
// not depend on how the work is split). A run is then the suffix of one
// block plus the prefix of the next, or exactly one block: two sums of at
// most segs non-negative lengths, as accurate as the plain sum, and a window
// of zero lengths sums to exactly zero.
void ComputeChunkShared(const std::vector<double>& y, const CWindowPlan& plan, std::int64_t k0, std::int64_t k1,
                        CChunkBuffers& buf, CHPoint* out)
{
    const std::int64_t sp = plan.spacing;
    const std::int64_t lo = k0 * sp;
    const std::int64_t hi = (k1 - 1) * sp + plan.width; // one past the last value any window reads
    const std::int64_t count = k1 - k0;
    buf.sums.assign(static_cast<std::size_t>(count), CWindowSums{});
    buf.suffix.resize(static_cast<std::size_t>(hi - lo));
    buf.prefix.resize(static_cast<std::size_t>(hi - lo));
    double* S = buf.suffix.data() - lo; // indexed by series position
    double* P = buf.prefix.data() - lo;
    const int nD = plan.nD;

    for (std::int32_t lag = 1; lag <= plan.lags; ++lag) {
        const std::int64_t r = lag;
        const std::int64_t segs = (static_cast<std::int64_t>(plan.width) - nD) / r;
        // Segments that start at i < end stay inside [lo, hi).
        const std::int64_t end = hi - r - nD + 1;
        for (std::int64_t i = lo; i < end; ++i)
            S[i] = SegmentLength(y.data() + i, r, nD);
        // Positions in rows of r: every position of row t = i / r is member t
        // of its class, at place t % segs of its block.
        const std::int64_t firstRow = lo / r;
        const std::int64_t lastRow = (end - 1) / r;
        for (std::int64_t t = firstRow; t <= lastRow; ++t) {
            const bool blockStart = t % segs == 0;
            const std::int64_t a = std::max(lo, t * r);
            const std::int64_t b = std::min(end, (t + 1) * r);
            for (std::int64_t i = a; i < b; ++i)
                P[i] = (blockStart || i - r < lo) ? S[i] : P[i - r] + S[i];
        }
        for (std::int64_t t = lastRow; t >= firstRow; --t) {
            const bool blockEnd = t % segs == segs - 1;
            const std::int64_t a = std::max(lo, t * r);
            const std::int64_t b = std::min(end, (t + 1) * r);
            for (std::int64_t i = b - 1; i >= a; --i) {
                if (!blockEnd && i + r < end)
                    S[i] += S[i + r];
            }
        }
        const double logR = plan.logR[static_cast<std::size_t>(lag - 1)];
        const std::int64_t last = (segs - 1) * r;
        // The window's start s = row * r + column, and its place in its
        // block, followed from window to window without dividing.
        const std::int64_t rowStep = sp / r;
        const std::int64_t columnStep = sp % r;
        std::int64_t row = lo / r;
        std::int64_t column = lo % r;
        std::int64_t place = row % segs;
        for (std::int64_t k = 0; k < count; ++k) {
            const std::int64_t s = row * r + column;
            double length = S[s];
            if (place != 0)
                length += P[s + last];
            AddLag(buf.sums[static_cast<std::size_t>(k)], logR, LogLengthPerLag(length, lag));
            std::int64_t rows = rowStep;
            column += columnStep;
            if (column >= r) {
                column -= r;
                ++rows;
            }
            row += rows;
            place = rows >= segs ? row % segs : (place + rows >= segs ? place + rows - segs : place + rows);
        }
    }
    for (std::int64_t k = 0; k < count; ++k)
        out[k] = MakeResult(plan, (k0 + k) * sp, buf.sums[static_cast<std::size_t>(k)]);
}

// The windows [k0, k1) each summed on its own, exactly as the estimator sums
// them: for windows far apart nothing is shared.
void ComputeChunkDirect(const std::vector<double>& y, const CWindowPlan& plan, std::int64_t k0, std::int64_t k1,
                        CHPoint* out)
{
    for (std::int64_t k = k0; k < k1; ++k) {
        const std::int64_t s = k * plan.spacing;
        CWindowSums sums;
        for (std::int32_t lag = 1; lag <= plan.lags; ++lag) {
            const double length = CurveLength(y.data() + s, plan.width, plan.nD, lag);
            AddLag(sums, plan.logR[static_cast<std::size_t>(lag - 1)], LogLengthPerLag(length, lag));
        }
        out[k - k0] = MakeResult(plan, s, sums);
    }
}

// Whether sharing segments between windows saves work: per window it costs
// about spacing new segments per lag, where summing alone costs all of the
// window's segments.
bool ShareSegments(const CWindowPlan& plan)
{
    if (plan.lags == 0)
        return false;
    const double perSegment = std::max(plan.nD, 1) + 4.0;
    double own = 0.0;
    for (std::int32_t r = 1; r <= plan.lags; ++r)
        own += static_cast<double>((static_cast<std::int64_t>(plan.width) - plan.nD) / r);
    const double shared = static_cast<double>(plan.lags) * (static_cast<double>(plan.spacing) * perSegment + 6.0);
    return shared < own * perSegment;
}

// Windows per chunk: enough that the values a chunk reads are mostly shared
// (its span is several widths), few enough for steady progress and a small
// working set.
std::int64_t ChunkWindows(const CWindowPlan& plan, bool shared)
{
    if (!shared)
        return 256;
    const std::int64_t span = std::max<std::int64_t>(4 * static_cast<std::int64_t>(plan.width), 16384);
    return std::max<std::int64_t>(span / plan.spacing, 64);
}

unsigned WorkerThreads(unsigned requested, std::int64_t chunks)
{
    unsigned threads = requested;
    if (threads == 0) {
        static const unsigned hardware = std::thread::hardware_concurrency();
        threads = std::max(1u, std::min(hardware, 2u));
    }
    return static_cast<unsigned>(std::min<std::int64_t>(std::max(threads, 1u), std::max<std::int64_t>(chunks, 1)));
}

} // namespace

CHPointArray ComputeSlidingWindowResults(const CHPointArray& series, const SlidingWindowParams& params,
                                         const PercentCallback& progress, unsigned threads)
{
    CHPointArray results;
    if (CheckSlidingWindowParams(params))
        return results;
    const CWindowPlan plan = MakePlan(series.GetSize(), params);
    CPercentReporter reporter(progress, plan.windows);
    reporter.Start();
    if (plan.windows == 0)
        return results;

    std::vector<double> y(static_cast<std::size_t>(series.GetSize()));
    for (int i = 0; i < series.GetSize(); ++i)
        y[static_cast<std::size_t>(i)] = series[i].m_dY;
    results.SetSize(static_cast<int>(plan.windows));
    CHPoint* out = results.GetData();

    const bool shared = ShareSegments(plan);
    const std::int64_t perChunk = ChunkWindows(plan, shared);
    const std::int64_t chunks = (plan.windows + perChunk - 1) / perChunk;
    std::atomic<std::int64_t> nextChunk{0};
    std::atomic<std::int64_t> done{0};
    auto work = [&](bool reports) {
        CChunkBuffers buf;
        for (std::int64_t c = nextChunk.fetch_add(1); c < chunks; c = nextChunk.fetch_add(1)) {
            const std::int64_t k0 = c * perChunk;
            const std::int64_t k1 = std::min(plan.windows, k0 + perChunk);
            if (shared)
                ComputeChunkShared(y, plan, k0, k1, buf, out + k0);
            else
                ComputeChunkDirect(y, plan, k0, k1, out + k0);
            const std::int64_t finished = done.fetch_add(k1 - k0) + (k1 - k0);
            if (reports)
                reporter.Report(finished);
        }
    };

    std::thread helper;
    if (WorkerThreads(threads, chunks) > 1) {
        try {
            helper = std::thread(work, false);
        } catch (const std::system_error&) {
            // No second thread: this one does every chunk.
        }
    }
    work(true);
    if (helper.joinable())
        helper.join();
    reporter.Finish();
    return results;
}

CHPointArray ComputeSlidingWindowResultsDirect(const CHPointArray& series, const SlidingWindowParams& params)
{
    CHPointArray results;
    if (CheckSlidingWindowParams(params))
        return results;
    const std::int64_t n = series.GetSize();
    CHDataSet set;
    set.m_bAutoCompute = 0;
    for (std::int64_t start = 0; start + params.width < n; start += params.spacing) {
        set.Reset(params.nD, params.nM);
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
    }
    return results;
}

void ClearSlidingWindows(CKestrinDoc& doc)
{
    CStatusOperation status(doc.Ui(), "Clearing Sliding Window Array...");
    doc.m_windows.RemoveAll();
    doc.SetModifiedFlag(true);
}

bool ComputeSlidingWindows(CKestrinDoc& doc, const SlidingWindowParams& params)
{
    if (CheckSlidingWindowParams(params))
        return false;
    ClearSlidingWindows(doc);
    CStatusOperation status(doc.Ui(), kPreparing);
    doc.m_nSpacing = params.spacing;
    doc.m_windows = ComputeSlidingWindowResults(
        doc.m_points, params, [&status](int percent) { status.SetText(FormatPercentValue(kSlidingProgress, percent)); });
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
