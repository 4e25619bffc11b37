#include "analysis/FitPlotData.h"

#include <algorithm>

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
    return data;
}
