#include "analysis/FitPlotData.h"

#include <algorithm>
#include <cmath>

#include "core/HDataSet.h"

CFitPlotData FitPlotDataOf(const CHDataSet& set, const std::string& label)
{
    CFitPlotData data;
    data.label = label;
    const int m = std::max(set.GetM(), 0);
    double sx = 0.0, sy = 0.0;
    for (int i = 0; i < m; ++i) {
        data.x.push_back(set.GetLogR(i));
        data.y.push_back(set.GetLogL(i));
        sx += data.x.back();
        sy += data.y.back();
    }
    data.b = set.GetB();
    data.h = set.GetH();
    data.r = set.GetR();
    data.n = set.GetCount();
    if (m > 0)
        data.intercept = (sy - data.b * sx) / m;
    if (m >= 3) {
        const double meanX = sx / m;
        double residuals = 0.0, sxx = 0.0;
        for (int i = 0; i < m; ++i) {
            const double e = data.y[i] - (data.intercept + data.b * data.x[i]);
            residuals += e * e;
            sxx += (data.x[i] - meanX) * (data.x[i] - meanX);
        }
        data.slopeError = std::sqrt(residuals / (m - 2) / sxx);
    }
    return data;
}
