#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/Bootstrap.h"

class CHDataSet;

// The bootstraps of several estimates of one series, one after the other:
// the whole series' and those of the intervals between its tabs. The
// workbench's "Bootstrap All Intervals..." and `kestrin-cli tabs
// --bootstrap` run them here, and the table they give is written as CSV
// here.

// Where an estimate's values lie: the whole series (from its smallest to
// its largest X), or the interval [lower, upper) of X between two tabs (the
// first from the smallest X, the last up to the largest).
struct CIntervalSpan
{
    bool global = false;
    double lower = 0.0;
    double upper = 0.0;
};

// The spans of the intervals that tabs at positions (ascending) cut the
// X range [xMin, xMax] into: positions.size() + 1 of them.
std::vector<CIntervalSpan> IntervalSpansOf(const std::vector<std::int32_t>& positions, double xMin, double xMax);

// One estimate to bootstrap: its estimator as last computed and its span.
// given, when not null, is the estimate's bootstrap already run (the curve
// length's of a comparison of methods) and is taken as it is.
struct CIntervalEstimate
{
    const CHDataSet* set = nullptr;
    CIntervalSpan span;
    const CBootstrapResult* given = nullptr;
};

// One row of the table: the estimate's span, n and H, its bootstrap, and
// whether its interval shares no point with that of the interval before it.
struct CIntervalBootstrapRow
{
    CIntervalSpan span;
    int n = 0;
    double h = 0.0;
    CBootstrapResult result;
    // Why the bootstrap could not be run (CheckBootstrapRequest); result
    // then holds nothing.
    std::optional<std::string> refusal;
    // Why the interval was left out (LeaveOutUngivenInterval), when it was.
    std::optional<std::string> leftOut;
    // Against the row before, when both are intervals (not the whole
    // series) and both give an interval: true when the two intervals share
    // no point. Nothing otherwise.
    std::optional<bool> apartFromPrevious;
};

// Runs the bootstrap of every estimate in order, each as the command line
// runs one (noise or motion decided, the model that follows, the model
// check), with the options' replicates, seed and input. An estimate whose
// bootstrap cannot be run gets its refusal, and the others run on.
// progress gets the fraction of the whole run; when it returns false the run
// stops: the estimate under way and those after it are marked cancelled.
std::vector<CIntervalBootstrapRow> BootstrapIntervals(const std::vector<CIntervalEstimate>& estimates,
                                                      const CSeriesBootstrapOptions& options,
                                                      const BootstrapProgress& progress = {});

// The words of the row's apartFromPrevious: "apart", "overlap" or empty.
std::string ApartText(const CIntervalBootstrapRow& row);

// "global", or "LOWER to UPPER" (each to 6 decimals).
std::string SpanText(const CIntervalSpan& span);

// What the row must be read with, in order: the refusal or why its
// interval was left out, the bootstrap's notes (a failed model check, ends
// at the searched range's edge), the noise-or-motion warning (chooseHint
// names how to choose, in the caller's terms) and the warnings of H
// (HReadingWarnings). Needs the row's estimator.
std::vector<std::string> IntervalBootstrapNotes(const CIntervalBootstrapRow& row, const CHDataSet& set,
                                                const std::string& chooseHint);

// The table as CSV (RFC 4180: fields holding a comma, quote or line break
// are quoted; lines end in CR LF), one line per row after the header
// "interval,lower X,upper X,n,H,H corrected,low,high,vs previous,series,model,model check":
// interval "global" or the interval's number (1 for the first), X to 6
// decimals, H to 6, the corrected H and the ends to the digits their
// Monte-Carlo errors support ("≥ 0.99" / "≤ 0.01" at the searched range's
// edge; empty when not reached), "vs previous" as ApartText, the
// noise-or-motion reading (SeriesKindLabel), the model simulated and the
// model check's "passed" / "failed" (empty without one). A row whose
// bootstrap was refused or cancelled gives its span, n and H only.
std::string IntervalBootstrapsCsv(const std::vector<CIntervalBootstrapRow>& rows);
