#include "analysis/SlopeWindows.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "document/KestrinDoc.h"
#include "core/Regression.h"
#include "core/simd/SimdKernels.h"
#include "platform/StatusOperation.h"
#include "core/WorkSplit.h"

namespace {

// Below this many point visits (windows times size) a second worker costs
// more to start than it saves.
constexpr std::int64_t kParallelWork = std::int64_t{1} << 21;

// Point visits per chunk of windows: small enough for steady progress and an
// even split between the workers, large enough to cost nothing to hand out.
constexpr std::int64_t kChunkWork = std::int64_t{1} << 21;

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

CHPointArray ComputeWithLevel(const CSeriesArray& series, std::int32_t size, const PercentCallback& progress,
                               unsigned threads, SimdLevel level)
{
    CHPointArray results;
    const int n = series.GetSize();
    if (size < 1 || size >= n)
        return results;
    const int total = n - size;

    // Each window reads the series' X and Y in place.
    const double* x = series.Xs();
    const double* y = series.Ys();

    results.SetSize(total);
    const auto blockSlopes = SimdKernels(level).blockSlopes;
    CHPoint* out = results.GetData();
    const std::int64_t half = size / 2;

    // Chunks of whole blocks of windows; every window is computed the same
    // way whichever thread takes its chunk.
    const std::int64_t chunkBlocks = std::max<std::int64_t>(1, kChunkWork / (std::int64_t{size} * kSlopeBlock));
    const std::int64_t chunkWindows = chunkBlocks * kSlopeBlock;
    const std::int64_t chunkCount = (total + chunkWindows - 1) / chunkWindows;

    auto computeChunk = [&](std::int64_t chunk) {
        const std::int64_t begin = chunk * chunkWindows;
        const std::int64_t end = std::min<std::int64_t>(begin + chunkWindows, total);
        double slopes[kSlopeBlock];
        std::int64_t i = begin;
        for (; i + kSlopeBlock <= end; i += kSlopeBlock) {
            blockSlopes(x + i, y + i, size, slopes);
            for (int w = 0; w < kSlopeBlock; ++w) {
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
    };

    CPercentReporter reporter(progress, total);
    reporter.Start();
    const bool split = chunkCount >= 2 && std::int64_t{total} * size >= kParallelWork;
    CWorkSplit(chunkCount, split ? threads : 1)
        .Run([&](std::int64_t chunk, unsigned) { computeChunk(chunk); },
             [&](std::int64_t finished) {
                 // Every chunk but the last holds chunkWindows windows.
                 reporter.Report(std::min<std::int64_t>(finished * chunkWindows, total));
                 return true;
             });
    reporter.Finish();
    return results;
}

} // namespace

CHPointArray ComputeSlopeWindowResults(const CSeriesArray& series, std::int32_t size, const PercentCallback& progress,
                                       unsigned threads)
{
    return ComputeWithLevel(series, size, progress, threads, SimdLevel::Automatic);
}

CHPointArray ComputeSlopeWindowResultsBaseline(const CSeriesArray& series, std::int32_t size, unsigned threads)
{
    return ComputeWithLevel(series, size, {}, threads, SimdLevel::Sse2);
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
