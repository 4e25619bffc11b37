// The fit plot's data: the estimator's own points and line, not a new fit.
#include <gtest/gtest.h>

#include "analysis/FitPlotData.h"
#include "core/HDataSet.h"
#include "tests/support/SeriesBuilders.h"

namespace fit_plot_data_test {

TEST(FitPlotData, PointsAndLineAreTheEstimatorsOwn)
{
    for (const int m : {0, 1, 3, 12}) {
        SCOPED_TRACE(m);
        CHDataSet set({.nD = 4, .nM = m});
        for (const double y : RandomWalk(500, 11))
            set.AddValue(y);
        set.Compute();
        const CFitPlotData data = FitPlotDataOf(set, "Global");
        EXPECT_EQ(data.label, "Global");
        ASSERT_EQ(data.x.size(), static_cast<std::size_t>(m));
        double sx = 0.0, sy = 0.0;
        for (int i = 0; i < m; ++i) {
            EXPECT_EQ(data.x[i], set.GetLogR(i));
            EXPECT_EQ(data.y[i], set.GetLogL(i));
            sx += data.x[i];
            sy += data.y[i];
        }
        EXPECT_EQ(data.b, set.GetB());
        EXPECT_EQ(data.h, set.GetH());
        EXPECT_EQ(data.r, set.GetR());
        EXPECT_EQ(data.n, 500);
        EXPECT_EQ(data.intercept, m > 0 ? (sy - data.b * sx) / m : 0.0);
    }
}

} // namespace fit_plot_data_test
