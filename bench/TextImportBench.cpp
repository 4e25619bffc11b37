// Throughput of CKestrinDoc::ImportTextFile on a text file of 10,000,000
// lines, in bytes of input per second. Target: at least 150 MB/s.
//
// The import includes everything the command does: reading and parsing every
// line, replacing the document's series and computing its global estimator.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchData.h"
#include "platform/HeadlessUi.h"
#include "document/KestrinDoc.h"

namespace {

constexpr std::size_t kLines = 10000000;

enum Layout { fullPrecision = 0, mixed = 1 };

// Writes the file once per layout: fullPrecision holds a random walk printed
// with %.17g (as a program writing doubles exactly would); mixed cycles
// through forms of different lengths (integers, short fixed point, %g,
// exponent notation, full precision, a line with trailing text, an empty
// line and CRLF line ends).
const std::string& InputFile(Layout layout)
{
    static std::string paths[2];
    std::string& path = paths[layout];
    if (!path.empty())
        return path;
    path = bench::ScratchDir() + (layout == fullPrecision ? "/walk-17g.txt" : "/walk-mixed.txt");
    const std::vector<double> walk = bench::RandomWalk(kLines);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror("kestrin-bench: cannot write the import file");
        std::exit(1);
    }
    for (std::size_t i = 0; i < kLines; ++i) {
        const double v = walk[i];
        if (layout == fullPrecision) {
            std::fprintf(f, "%.17g\n", v);
            continue;
        }
        switch (i % 8) {
        case 0: std::fprintf(f, "%ld\n", static_cast<long>(v)); break;
        case 1: std::fprintf(f, "%.2f\n", v); break;
        case 2: std::fprintf(f, "%g\n", v); break;
        case 3: std::fprintf(f, "%.6e\n", -v * 1e-7); break;
        case 4: std::fprintf(f, "%.17g\n", v); break;
        case 5: std::fprintf(f, "  %.4f\tcomment\n", v); break;
        case 6: std::fprintf(f, "%.3f\r\n", v); break;
        default: std::fprintf(f, "\n"); break;
        }
    }
    if (std::fclose(f) != 0) {
        std::perror("kestrin-bench: cannot write the import file");
        std::exit(1);
    }
    return path;
}

void BM_ImportTextFile(benchmark::State& state)
{
    const std::string& path = InputFile(static_cast<Layout>(state.range(0)));
    const std::uint64_t bytes = bench::FileSize(path);
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    doc.OnNewDocument();
    for (auto _ : state) {
        if (!doc.ImportTextFile(path, 0, 0, false)) {
            state.SkipWithError("the import failed");
            break;
        }
        benchmark::DoNotOptimize(doc.m_points.Ys());
        ui.statusTexts.clear();
    }
    state.counters["lines"] = static_cast<double>(doc.m_points.GetSize());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ImportTextFile)
    ->ArgName("mixed")
    ->Arg(fullPrecision)
    ->Arg(mixed)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
