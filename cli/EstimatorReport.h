#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/FitPlotData.h"
#include "core/GrowArray.h"

class CHDataSet;
class CKestrinDoc;
class CJsonWriter;
struct CBootstrapResult;

// One row of an estimator's lag table: r, L(r), log10 r, log10(L(r)/r).
struct LagRow
{
    int r = 0;
    double length = 0.0;
    double log10R = 0.0;
    double log10LOverR = 0.0;
};

// What the reports say of one estimator: its n, D and M, the fit's H, b and
// r, its lag table for r = 1..M and the fit through the lags.
struct EstimatorFigures
{
    int n = 0;
    int d = 0;
    int m = 0;
    double h = 0.0;
    double b = 0.0;
    double r = 0.0;
    std::vector<LagRow> lags;
    CFitPlotData fit{};
    // The first lag fitted: the line runs through r = rMin..M.
    int rMin = 1;
};

// The figures of an estimator as it was last computed.
EstimatorFigures FiguresOf(const CHDataSet& set);

// An estimator's n, D, M, H, b and r, as text fields or as JSON fields; the
// text names the first lag too when it is not 1.
void AppendEstimatorFields(std::string& out, const EstimatorFigures& figures);
void WriteEstimatorFields(CJsonWriter& json, const EstimatorFigures& figures);

// The results of a fit, H, b and r, as text fields or as JSON fields.
void AppendFitFields(std::string& out, const EstimatorFigures& figures);
void WriteFitFields(CJsonWriter& json, const EstimatorFigures& figures);

// What a reviewer needs to redo the fit, as JSON fields: "r_min" (the first
// lag fitted), "intercept", "slope_se" (null for fewer than 3 lags fitted)
// and "fit": the points fitted (r = r_min..M), {"log_r": [...],
// "log_L_over_r": [...]}; the lag table lists every lag.
void WriteFitDetails(CJsonWriter& json, const EstimatorFigures& figures);

// The JSON field "version": the program's version.
void WriteVersion(CJsonWriter& json);

// One sliding-window result: where it is shown (X), its plot position
// within the series (offset), and its fit.
struct WindowRow
{
    double x = 0.0;
    double offset = 0.0;
    double h = 0.0;
    double r = 0.0;
    double b = 0.0;
    std::int32_t n = 0;
};

// The results as rows whose X is the plot position itself.
std::vector<WindowRow> WindowRowsOf(const CHPointArray& windows);

// The results as the text table X, H, r, b, n; one result's H, r, b and n
// as JSON fields.
void AppendWindowTable(std::string& out, const std::vector<WindowRow>& rows);
void WriteWindowResultFields(CJsonWriter& json, const WindowRow& row);

// The lag table of an estimator: for r = 1..M its L(r), log10 r and
// log10(L(r)/r), as a text table or as the JSON array "lags".
void AppendLagTable(std::string& out, const std::vector<LagRow>& lags);
void WriteLagTable(CJsonWriter& json, const std::vector<LagRow>& lags);

// One of the document's interval estimators: its label, the upper bound of
// its interval (the tab position it ends at, the last one the largest X)
// and its figures.
struct IntervalRow
{
    std::string label;
    double upperBound = 0.0;
    EstimatorFigures figures;
};

// The document's interval estimators; positions are the tab positions they
// were computed from: interval i ends at position i, the last at the
// largest X.
std::vector<IntervalRow> IntervalRowsOf(const CKestrinDoc& doc, const std::vector<std::int32_t>& positions);

// The interval estimators, one row or JSON object each: upper bound (in the
// text, as its label), D, M, n, H, b, r (in JSON with the fit's details when
// withFit).
void AppendIntervalTable(std::string& out, const std::vector<IntervalRow>& rows);
void WriteIntervals(CJsonWriter& json, const std::vector<IntervalRow>& rows,
                    const std::vector<CBootstrapResult>* bootstraps = nullptr, bool withFit = false);

// The JSON array "tabs": tab positions, ascending.
void WriteTabPositions(CJsonWriter& json, const std::vector<std::int32_t>& positions);
