#include "SlopeWindows.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <thread>
#include <vector>

#include "ChunkThreads.h"
#include "KestrinDoc.h"
#include "Regression.h"
#include "StatusOperation.h"

namespace {

// Windows one block computes side by side.
constexpr int kLanes = 8;

// Below this many point visits (windows times size) a second thread costs
// more to start than it saves.
constexpr std::int64_t kParallelWork = std::int64_t{1} << 21;

// Point visits per chunk of windows: small enough for steady progress and an
// even split between the threads, large enough to cost nothing to hand out.
constexpr std::int64_t kChunkWork = std::int64_t{1} << 21;

// Slopes of the windows of `size` points starting at first, first + 1, ...,
// two vectors of them side by side. Each lane adds its window's points in
// point order from 0.0, exactly as LeastSquaresSlope does over a copy of the
// window; the lanes only run side by side (one vector operation per sum and
// point), so SIMD arithmetic changes no lane's result. Two vectors per sum
// keep eight independent additions in flight, and all eight sums stay in
// registers. (GCC and Clang vector types.)
typedef double Vec2 __attribute__((vector_size(2 * sizeof(double))));
typedef double Vec4 __attribute__((vector_size(4 * sizeof(double))));

template <class V>
__attribute__((always_inline)) inline void LaneSlopes(const double* x, const double* y, int size, double* out)
{
    constexpr int L = sizeof(V) / sizeof(double);
    V sx0 = {}, sy0 = {}, sxx0 = {}, sxy0 = {};
    V sx1 = {}, sy1 = {}, sxx1 = {}, sxy1 = {};
    for (int k = 0; k < size; ++k) {
        V x0, x1, y0, y1;
        std::memcpy(&x0, x + k, sizeof x0);
        std::memcpy(&x1, x + k + L, sizeof x1);
        std::memcpy(&y0, y + k, sizeof y0);
        std::memcpy(&y1, y + k + L, sizeof y1);
        sx0 += x0;
        sx1 += x1;
        sy0 += y0;
        sy1 += y1;
        sxx0 += x0 * x0;
        sxx1 += x1 * x1;
        sxy0 += x0 * y0;
        sxy1 += x1 * y1;
    }
    for (int w = 0; w < L; ++w) {
        out[w] = SlopeFromSums(sx0[w], sy0[w], sxx0[w], sxy0[w], size);
        out[L + w] = SlopeFromSums(sx1[w], sy1[w], sxx1[w], sxy1[w], size);
    }
}

// A block of kLanes windows with the instructions every x86-64 processor
// has (two doubles per register): two runs of four.
void BlockSlopesBase(const double* x, const double* y, int size, double* out)
{
    LaneSlopes<Vec2>(x, y, size, out);
    LaneSlopes<Vec2>(x + 4, y + 4, size, out + 4);
}

using BlockKernel = void (*)(const double*, const double*, int, double*);

#if defined(__GNUC__) && defined(__x86_64__)
// The same block with 256-bit registers (four doubles each), where the
// processor has them: the same additions and multiplications, twice as many
// at a time. No fused multiply-add: every lane rounds as the plain loop.
__attribute__((target("avx"))) void BlockSlopesAvx(const double* x, const double* y, int size, double* out)
{
    LaneSlopes<Vec4>(x, y, size, out);
}

BlockKernel ChooseBlockKernel()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") ? BlockSlopesAvx : BlockSlopesBase;
}
#else
BlockKernel ChooseBlockKernel()
{
    return BlockSlopesBase;
}
#endif

// The slope of the one window starting at first, for the windows left over
// after the last whole block.
double WindowSlope(const double* x, const double* y, int size, std::size_t first)
{
    double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
    for (int k = 0; k < size; ++k) {
        const double vx = x[first + static_cast<std::size_t>(k)];
        const double vy = y[first + static_cast<std::size_t>(k)];
        sx += vx;
        sy += vy;
        sxx += vx * vx;
        sxy += vx * vy;
    }
    return SlopeFromSums(sx, sy, sxx, sxy, size);
}

unsigned DefaultThreads()
{
    // hardware_concurrency reads the system's CPU list on every call.
    static const unsigned count = std::thread::hardware_concurrency();
    return std::clamp(count, 1u, 2u);
}

// Reports the percentages the one-window-at-a-time loop would show before
// each window, each distinct value once and in order, as far as the windows
// done so far allow.
class CProgressReporter
{
public:
    CProgressReporter(const PercentCallback& progress, std::int64_t total) : m_progress(progress), m_total(total) {}

    // `done` windows are finished: the loop would now be showing the
    // percentage of window `done` (the last window's at most).
    void Reach(std::int64_t done)
    {
        if (!m_progress)
            return;
        const std::int64_t upTo = std::min(done, m_total - 1);
        for (std::int64_t i = m_shown + 1; i <= upTo; ++i) {
            const int percent = TruncatedPercent(i, m_total);
            if (percent != m_last) {
                m_last = percent;
                m_progress(percent);
            }
        }
        m_shown = std::max(m_shown, upTo);
    }

private:
    const PercentCallback& m_progress;
    std::int64_t m_total;
    std::int64_t m_shown = -1;
    int m_last = -1;
};

CHPointArray ComputeWithKernel(const CHPointArray& series, std::int32_t size, const PercentCallback& progress,
                               unsigned threads, BlockKernel kernel)
{
    CHPointArray results;
    const int n = series.GetSize();
    if (size < 1 || size >= n)
        return results;
    const int total = n - size;

    // The points' X and Y side by side in two plain arrays, read once: each
    // window then reads them in place.
    std::vector<double> xs(static_cast<std::size_t>(n)), ys(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        xs[static_cast<std::size_t>(i)] = series[i].m_dX;
        ys[static_cast<std::size_t>(i)] = series[i].m_dY;
    }
    const double* x = xs.data();
    const double* y = ys.data();

    results.SetSize(total);
    CHPoint* out = results.GetData();
    const std::int64_t half = size / 2;

    // Chunks of whole blocks of windows; every window is computed the same
    // way whichever thread takes its chunk.
    const std::int64_t chunkBlocks = std::max<std::int64_t>(1, kChunkWork / (std::int64_t{size} * kLanes));
    const std::int64_t chunkWindows = chunkBlocks * kLanes;
    const std::int64_t chunkCount = (total + chunkWindows - 1) / chunkWindows;

    auto computeChunk = [&](std::int64_t chunk) {
        const std::int64_t begin = chunk * chunkWindows;
        const std::int64_t end = std::min<std::int64_t>(begin + chunkWindows, total);
        double slopes[kLanes];
        std::int64_t i = begin;
        for (; i + kLanes <= end; i += kLanes) {
            kernel(x + i, y + i, size, slopes);
            for (int w = 0; w < kLanes; ++w) {
                CHPoint& r = out[i + w];
                r.m_dY = slopes[w];
                r.m_dX = static_cast<double>(i + w + half);
            }
        }
        for (; i < end; ++i) {
            CHPoint& r = out[i];
            r.m_dY = WindowSlope(x, y, size, static_cast<std::size_t>(i));
            r.m_dX = static_cast<double>(i + half);
        }
        return end - begin;
    };

    std::atomic<std::int64_t> nextChunk{0};
    std::atomic<std::int64_t> doneWindows{0};
    auto takeChunks = [&] {
        for (std::int64_t c = nextChunk.fetch_add(1); c < chunkCount; c = nextChunk.fetch_add(1))
            doneWindows.fetch_add(computeChunk(c));
    };

    if (threads == 0)
        threads = DefaultThreads();
    CProgressReporter reporter(progress, total);
    reporter.Reach(0);
    auto takeChunksAndReport = [&] {
        for (std::int64_t c = nextChunk.fetch_add(1); c < chunkCount; c = nextChunk.fetch_add(1)) {
            doneWindows.fetch_add(computeChunk(c));
            reporter.Reach(doneWindows.load());
        }
    };
    const bool twoThreads = threads >= 2 && chunkCount >= 2 && std::int64_t{total} * size >= kParallelWork;
    RunChunksOnTwoThreads(twoThreads, nextChunk, chunkCount, takeChunks, takeChunksAndReport);
    reporter.Reach(total);
    return results;
}

} // namespace

CHPointArray ComputeSlopeWindowResults(const CHPointArray& series, std::int32_t size, const PercentCallback& progress,
                                       unsigned threads)
{
    static const BlockKernel kernel = ChooseBlockKernel();
    return ComputeWithKernel(series, size, progress, threads, kernel);
}

CHPointArray ComputeSlopeWindowResultsBaseline(const CHPointArray& series, std::int32_t size, unsigned threads)
{
    return ComputeWithKernel(series, size, {}, threads, BlockSlopesBase);
}

void CalculateSlopeWindows(CKestrinDoc& doc, std::int32_t size)
{
    doc.m_slopes.RemoveAll();
    CStatusOperation status(doc.Ui(), "Preparing...");
    CHPointArray results = ComputeSlopeWindowResults(doc.m_points, size, [&status](int percent) {
        status.SetText(FormatPercentValue("Calculating Slope Windows (%i %%)", percent));
    });
    doc.m_slopes = std::move(results);
}
