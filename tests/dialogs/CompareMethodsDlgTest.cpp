// The method comparison dialog: each method's fit plot holds the points its
// analysis fitted, and the line on the intervals says what can be told.
#include <cmath>
#include <numbers>
#include <vector>

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "analysis/Dfa.h"
#include "analysis/SeriesProfile.h"
#include "analysis/Whittle.h"
#include "core/HDataSet.h"
#include "dialogs/CompareMethodsDlg.h"
#include "dialogs/FitPlotWnd.h"
#include "platform/HeadlessUi.h"
#include "tests/support/SeriesBuilders.h"
#include "tests/support/gui/DialogTestSupport.h"

namespace compare_methods_dlg_test {

namespace {

std::vector<double> Log10s(const std::vector<double>& values)
{
    std::vector<double> logs;
    for (const double v : values)
        logs.push_back(std::log10(v));
    return logs;
}

} // namespace

// Every method's plot: the points are the analysis' own fit points (the
// curve length's lags, DFA-1's scales and F, Whittle's frequencies and
// periodogram of the increments of this motion), H is the table's; the line
// of DFA-1 is its least-squares fit, Whittle's curve the fGn density at the
// estimate scaled so that the periodogram averages once it.
TEST(CompareMethodsDlg, EachRowsFitPlotHoldsItsMethodsFitPoints)
{
    const std::vector<double> values = RandomWalk(300, 11);
    CHDataSet set({.nD = 4, .nM = 5});
    set.m_bAutoCompute = 0;
    set.Values().Storage() = values;
    set.Compute();
    CHeadlessUi ui;
    CCompareMethodsDlg dlg(QStringLiteral("Global"), values, 4, 5, false, ui);
    dlg.show();
    ASSERT_EQ(dlg.Comparison().decision.estimatedAs, ESeriesKind::Motion);
    EXPECT_EQ(dlg.FitPlotWindow(), nullptr);

    const CDfaResult dfa = Dfa1(values.data(), values.size());
    const std::vector<double> increments = Increments(values.data(), values.size());
    const std::vector<double> periodogram = Periodogram(increments.data(), increments.size());
    std::vector<double> lambdas;
    for (std::size_t k = 1; k <= periodogram.size(); ++k)
        lambdas.push_back(2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(increments.size()));
    std::vector<double> curveX, curveY;
    for (int i = 0; i < set.GetM(); ++i) {
        curveX.push_back(set.GetLogR(i));
        curveY.push_back(set.GetLogL(i));
    }
    struct Case
    {
        EHMethod method;
        std::vector<double> x, y;
        bool doubleClick;
    };
    const Case cases[] = {
        {EHMethod::Curve, curveX, curveY, false},
        {EHMethod::Dfa, Log10s({dfa.scales.begin(), dfa.scales.end()}), Log10s(dfa.fluctuations), true},
        {EHMethod::Whittle, Log10s(lambdas), Log10s(periodogram), false},
    };
    auto* table = Control<QTableWidget>(dlg, "tableMethods");
    for (int row = 0; row < 3; ++row) {
        const Case& c = cases[row];
        SCOPED_TRACE(HMethodWord(c.method));
        ASSERT_EQ(dlg.Comparison().rows[row].estimate.method, c.method);
        table->selectRow(row);
        if (c.doubleClick)
            emit table->cellDoubleClicked(row, 0);
        else
            Click(Control<QPushButton>(dlg, "buttonFitPlot"));
        ASSERT_NE(dlg.FitPlotWindow(), nullptr);
        EXPECT_TRUE(dlg.FitPlotWindow()->isVisible());
        const CFitPlotData& d = dlg.FitPlotWindow()->Plot().Data();
        EXPECT_EQ(d.x, c.x);
        EXPECT_EQ(d.y, c.y);
        EXPECT_EQ(d.h, dlg.Comparison().rows[row].estimate.h);
        EXPECT_EQ(d.label, "Global");
        if (c.method == EHMethod::Curve) {
            EXPECT_EQ(d.b, set.GetB());
            EXPECT_TRUE(d.caption.empty() && d.fitted.empty());
        }
        if (c.method == EHMethod::Dfa) {
            EXPECT_EQ(d.b, dfa.alpha);
            EXPECT_EQ(d.h, dfa.alpha - 1.0);
            double residual = 0.0, leverage = 0.0, meanX = 0.0;
            for (const double x : d.x)
                meanX += x / static_cast<double>(d.x.size());
            for (std::size_t i = 0; i < d.x.size(); ++i) {
                residual += (d.y[i] - d.intercept - d.b * d.x[i]);
                leverage += (d.y[i] - d.intercept - d.b * d.x[i]) * (d.x[i] - meanX);
            }
            // Least squares: the residuals sum to zero, uncorrelated with x.
            EXPECT_NEAR(residual, 0.0, 1e-12);
            EXPECT_NEAR(leverage, 0.0, 1e-12);
        }
        if (c.method == EHMethod::Whittle) {
            ASSERT_EQ(d.fitted.size(), d.x.size());
            double mean = 0.0;
            for (std::size_t k = 0; k < d.x.size(); ++k) {
                mean += periodogram[k] / std::pow(10.0, d.fitted[k]) / static_cast<double>(d.x.size());
                const double ratio = std::pow(10.0, d.fitted[k]) / FgnSpectralDensity(lambdas[k], d.h);
                const double first = std::pow(10.0, d.fitted[0]) / FgnSpectralDensity(lambdas[0], d.h);
                EXPECT_NEAR(ratio / first, 1.0, 1e-9) << k;
            }
            EXPECT_NEAR(mean, 1.0, 1e-12);
        }
    }
}

// The line on the intervals, over comparisons made by hand: every interval,
// disjoint ones, one or two missing, and no bootstrap at all.
TEST(CompareMethodsDlg, IntervalsOverlapLineSaysWhatCanBeTold)
{
    const auto row = [](EHMethod method, std::optional<double> low, std::optional<double> high) {
        CMethodRow r;
        r.estimate.method = method;
        CBootstrapResult b;
        b.low = low;
        b.high = high;
        r.bootstrap = b;
        return r;
    };
    const std::optional<double> none;
    const QString agree = QStringLiteral("The intervals overlap: the methods agree within their uncertainty.");
    const QString disagree = QStringLiteral("The intervals do not overlap: the methods disagree.");
    const QString fewer = QStringLiteral("Fewer than two methods have a 95 % interval");
    struct Case
    {
        std::vector<CMethodRow> rows;
        std::optional<bool> overlap;
        QString starts;
        QString notCompared;
    };
    const Case cases[] = {
        {{row(EHMethod::Curve, 0.6, 0.8), row(EHMethod::Dfa, 0.7, 0.9), row(EHMethod::Whittle, 0.75, 0.85)},
         true, agree, {}},
        {{row(EHMethod::Curve, 0.6, 0.7), row(EHMethod::Dfa, 0.71, 0.9), row(EHMethod::Whittle, 0.65, 0.85)},
         false, disagree, {}},
        {{row(EHMethod::Curve, 0.6, 0.8), row(EHMethod::Dfa, none, none), row(EHMethod::Whittle, 0.75, 0.85)},
         true, agree, QStringLiteral(" Not compared, without an interval: DFA-1.")},
        {{row(EHMethod::Curve, 0.6, 0.7), row(EHMethod::Dfa, 0.8, 0.9), row(EHMethod::Whittle, none, none)},
         false, disagree, QStringLiteral(" Not compared, without an interval: Whittle (fGn).")},
        {{row(EHMethod::Curve, 0.6, 0.8), row(EHMethod::Dfa, none, none), row(EHMethod::Whittle, none, 0.9)},
         std::nullopt, fewer, QStringLiteral("(none for DFA-1, Whittle (fGn):")},
    };
    for (const Case& c : cases) {
        CMethodComparison comparison;
        comparison.rows = c.rows;
        EXPECT_EQ(IntervalsOverlap(comparison), c.overlap);
        const QString text = IntervalsOverlapText(comparison);
        EXPECT_TRUE(text.startsWith(c.starts)) << text.toStdString();
        if (c.notCompared.isEmpty())
            EXPECT_FALSE(text.contains(QStringLiteral("Not compared"))) << text.toStdString();
        else
            EXPECT_TRUE(text.contains(c.notCompared)) << text.toStdString();
    }
    CMethodComparison estimatesOnly;
    estimatesOnly.rows.resize(3);
    EXPECT_EQ(IntervalsOverlapText(estimatesOnly), QString());
}

} // namespace compare_methods_dlg_test
