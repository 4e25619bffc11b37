#include "analysis/FitPlotData.h"

#include <algorithm>
#include <cmath>

#include "core/Format.h"
#include "core/HDataSet.h"

CFitPlotData FitPlotDataOf(const CHDataSet& set, const std::string& label)
{
    CFitPlotData data;
    data.label = label;
    const int all = std::max(set.GetM(), 0);
    const int first = std::clamp(set.GetRMin() - 1, 0, all);
    data.firstFitted = first;
    double sx = 0.0, sy = 0.0;
    for (int i = 0; i < all; ++i) {
        data.x.push_back(set.GetLogR(i));
        data.y.push_back(set.GetLogL(i));
        if (i < first)
            continue;
        sx += data.x.back();
        sy += data.y.back();
    }
    data.b = set.GetB();
    data.h = set.GetH();
    data.r = set.GetR();
    data.n = set.GetCount();
    const int m = all - first;
    if (m > 0)
        data.intercept = (sy - data.b * sx) / m;
    if (m >= 3) {
        const double meanX = sx / m;
        double residuals = 0.0, sxx = 0.0;
        for (int i = first; i < all; ++i) {
            const double e = data.y[i] - (data.intercept + data.b * data.x[i]);
            residuals += e * e;
            sxx += (data.x[i] - meanX) * (data.x[i] - meanX);
        }
        data.slopeError = std::sqrt(residuals / (m - 2) / sxx);
    }
    return data;
}

namespace {

std::vector<double> Log10s(const std::vector<double>& values)
{
    std::vector<double> logs;
    logs.reserve(values.size());
    for (const double v : values)
        logs.push_back(std::log10(v));
    return logs;
}

} // namespace

CFitPlotData MethodFitPlotDataOf(EHMethod method, const CHDataSet& set, const double* values, std::size_t count,
                                 ESeriesKind kind, const std::string& label)
{
    if (method == EHMethod::Curve)
        return FitPlotDataOf(set, label);
    CMethodFit fit;
    const CMethodEstimate estimate = EstimateByMethod(method, values, count, kind, &fit);
    CFitPlotData data;
    data.label = label;
    data.h = estimate.h;
    data.n = static_cast<int>(count);
    std::string numbers = label + "   " + HMethodName(method) + "   H: " + FormatFixed(estimate.h, 4);
    if (method == EHMethod::Dfa) {
        data.xTitle = "log10 s";
        data.yTitle = "log10 F(s)";
        data.x = Log10s({fit.dfa.scales.begin(), fit.dfa.scales.end()});
        data.y = Log10s(fit.dfa.fluctuations);
        // The least-squares line of the fit: slope alpha through the means.
        data.b = fit.dfa.alpha;
        double sx = 0.0, sy = 0.0;
        for (std::size_t i = 0; i < data.x.size(); ++i) {
            sx += data.x[i];
            sy += data.y[i];
        }
        if (!data.x.empty())
            data.intercept = (sy - data.b * sx) / static_cast<double>(data.x.size());
        numbers += "   \xCE\xB1: " + FormatFixed(estimate.alpha, 4) + "   scales: " + std::to_string(estimate.scales);
    } else {
        data.xTitle = "log10 \xCE\xBB";
        data.yTitle = "log10 I(\xCE\xBB), fitted fGn density";
        data.x = Log10s(fit.whittle.lambdas);
        data.y = Log10s(fit.whittle.periodogram);
        data.fitted = Log10s(fit.whittle.fitted);
        numbers += " \xC2\xB1 " + FormatFixed(estimate.standardError, 4) +
                   "   frequencies: " + std::to_string(estimate.scales);
    }
    data.caption = numbers + "   n: " + std::to_string(count);
    return data;
}
