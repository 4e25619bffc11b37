#include "bench/BenchData.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

namespace bench {

std::vector<double> RandomWalk(std::size_t n, std::uint64_t seed)
{
    std::mt19937_64 engine(seed);
    std::vector<double> values(n);
    double x = 1000.0;
    for (double& v : values) {
        // 53 random bits to a step in [-1, 1).
        x += static_cast<double>(engine() >> 11) * 0x1p-52 - 1.0;
        v = x;
    }
    return values;
}

namespace {

struct Scratch
{
    Scratch()
    {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "kestrin-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("kestrin-bench: cannot create a scratch directory");
            std::exit(1);
        }
        path = pattern;
    }
    ~Scratch()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string path;
};

} // namespace

const std::string& ScratchDir()
{
    static Scratch scratch;
    return scratch.path;
}

std::uint64_t FileSize(const std::string& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : static_cast<std::uint64_t>(size);
}

void Die(const char* what)
{
    std::fprintf(stderr, "kestrin-bench: %s\n", what);
    std::exit(1);
}

CSeriesArray RandomWalkSeries(std::size_t n)
{
    const std::vector<double> walk = RandomWalk(n);
    CSeriesArray series;
    series.SetSize(static_cast<int>(n));
    for (std::size_t i = 0; i < n; ++i) {
        series.Set(static_cast<int>(i), CSeriesPoint{.m_dY = walk[i], .m_dX = static_cast<double>(i)});
    }
    return series;
}

} // namespace bench
