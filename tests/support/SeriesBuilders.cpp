#include "tests/support/SeriesBuilders.h"

#include <cstddef>
#include <random>

CHPoint MakePoint(double x, double y, int count, double b, double r)
{
    CHPoint p;
    p.m_dX = x;
    p.m_dY = y;
    p.m_nCount = count;
    p.m_dB = b;
    p.m_dR = r;
    return p;
}

CSeriesPoint MakeSeriesPoint(double x, double y)
{
    CSeriesPoint p;
    p.m_dX = x;
    p.m_dY = y;
    return p;
}

CHPoint MakeWindow(double x, double h, double r, double b, int count)
{
    return MakePoint(x, h, count, b, r);
}

CSeriesArray MakeSeries(const std::vector<double>& xs, const std::vector<double>& ys)
{
    CSeriesArray a;
    for (std::size_t i = 0; i < xs.size() && i < ys.size(); ++i)
        a.Add(MakeSeriesPoint(xs[i], ys[i]));
    return a;
}

CSeriesArray MakeSeriesFrom(double x0, const std::vector<double>& ys)
{
    CSeriesArray a;
    double x = x0;
    for (double y : ys)
        a.Add(MakeSeriesPoint(x++, y));
    return a;
}

std::vector<double> RandomWalk(int n, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> step;
    std::vector<double> v(n > 0 ? static_cast<std::size_t>(n) : 0);
    double y = 0.0;
    for (double& x : v)
        x = (y += step(rng));
    return v;
}

CHDataSet EstimatorOver(const std::vector<double>& values, CEstimatorSetting setting)
{
    CHDataSet set(setting);
    set.m_bAutoCompute = 0;
    set.Values().Storage() = values;
    set.Compute();
    return set;
}
