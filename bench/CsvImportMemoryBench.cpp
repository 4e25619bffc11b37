// The memory a database import of a large delimited-text file takes, as a
// multiple of the file's size: CKestrinDoc::ImportDatabase on a generated
// file of about 100 MB, once of short records ("i,value") and once of long
// ones (the same two fields and eight text fields). Each import runs in a
// child process of its own, which reports how far its resident memory rose
// above what it held before (VmHWM less VmRSS of /proc/self/status), so that
// neither the benchmark library nor an earlier import counts.
//
// The counter PeakPerFileByte is that rise divided by the file's size. The
// reader keeps only a piece of about 1 MiB of the file at a time and reserves
// the series exactly from a count of its lines, so the rise is the document's
// own series: 8 bytes for a point's X and 8 for its Y, which the estimator of
// the whole series reads from the same storage, 16 bytes a record;
// BytesPerRecord shows it (about 17 measured). A file of short records
// ("i,value", about 19 bytes) thus peaks at about 0.9 times its size, one of
// long records at about 0.09.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "bench/BenchData.h"
#include "document/KestrinDoc.h"
#include "platform/HeadlessUi.h"

namespace {

constexpr std::uint64_t kFileBytes = 100u << 20;

enum Rows { shortRows = 0, longRows = 1 };

// Writes the file once per kind of row; the file's stem is the table's name.
const std::string& CsvFile(Rows rows)
{
    static std::string paths[2];
    std::string& path = paths[rows];
    if (!path.empty())
        return path;
    path = bench::ScratchDir() + (rows == shortRows ? "/short.csv" : "/long.csv");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        bench::Die("cannot create the delimited-text file");
    std::fputs(rows == shortRows ? "i,value\n" : "i,value,n0,n1,n2,n3,n4,n5,n6,n7\n", f);
    const std::vector<double> walk = bench::RandomWalk(1 << 20);
    std::uint64_t written = 0;
    for (std::uint64_t i = 0; written < kFileBytes; ++i) {
        const double y = walk[i % walk.size()];
        const int n = rows == shortRows
                          ? std::fprintf(f, "%llu,%.6f\n", static_cast<unsigned long long>(i), y)
                          : std::fprintf(f, "%llu,%.6f%s\n", static_cast<unsigned long long>(i), y,
                                         ",lorem ipsum dolor sit,lorem ipsum dolor sit,lorem ipsum dolor sit,"
                                         "lorem ipsum dolor sit,lorem ipsum dolor sit,lorem ipsum dolor sit,"
                                         "lorem ipsum dolor sit,lorem ipsum dolor sit");
        if (n < 0)
            bench::Die("cannot write the delimited-text file");
        written += static_cast<std::uint64_t>(n);
    }
    if (std::fclose(f) != 0)
        bench::Die("cannot write the delimited-text file");
    return path;
}

// A "Vm...:" line of /proc/self/status, in bytes; -1 when it is missing.
std::int64_t StatusBytes(const char* key)
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    std::int64_t kib = -1;
    const std::string prefix = std::string(key) + ":";
    while (std::fgets(line, sizeof line, f))
        if (std::string(line).rfind(prefix, 0) == 0)
            kib = std::strtoll(line + prefix.size(), nullptr, 10);
    std::fclose(f);
    return kib < 0 ? -1 : kib * 1024;
}

struct ImportMemory
{
    std::int64_t rise = -1;
    std::int64_t points = 0;
};

// Imports the file in a child process; what the child's memory rose by.
ImportMemory MeasureImport(const std::string& path, const std::string& table)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        bench::Die("cannot make a pipe");
    const pid_t child = ::fork();
    if (child < 0)
        bench::Die("cannot start a child process");
    if (child == 0) {
        ::close(pipeFds[0]);
        ImportMemory m;
        const std::int64_t before = StatusBytes("VmRSS");
        {
            CHeadlessUi ui;
            CKestrinDoc doc(ui);
            if (doc.ImportDatabase(path, table, "i", "value")) {
                m.points = doc.m_points.GetSize();
                const std::int64_t peak = StatusBytes("VmHWM");
                if (before >= 0 && peak >= 0)
                    m.rise = peak - before;
            }
        }
        const bool sent = ::write(pipeFds[1], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipeFds[1]);
    ImportMemory m;
    const bool got = ::read(pipeFds[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        m.rise = -1;
    return m;
}

void BM_CsvImportPeakMemory(benchmark::State& state)
{
    const Rows rows = static_cast<Rows>(state.range(0));
    const std::string& path = CsvFile(rows);
    const std::string table = rows == shortRows ? "short" : "long";
    const double size = static_cast<double>(bench::FileSize(path));
    ImportMemory m;
    for (auto _ : state) {
        m = MeasureImport(path, table);
        if (m.rise < 0 || m.points == 0) {
            state.SkipWithError("the import failed or its memory could not be read");
            return;
        }
    }
    state.counters["FileMB"] = size / (1 << 20);
    state.counters["PeakPerFileByte"] = static_cast<double>(m.rise) / size;
    state.counters["BytesPerRecord"] = static_cast<double>(m.rise) / static_cast<double>(m.points);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}
// 0: short records, 1: long ones. One import a run: each takes seconds.
BENCHMARK(BM_CsvImportPeakMemory)->Arg(shortRows)->Arg(longRows)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
