#pragma once

#include <optional>
#include <string>

#include "Args.h"

class CKestrinDoc;

// The ranges accepted for the estimator's parameters. A line fit needs at
// least two lags; the upper limits keep a mistyped number from asking for
// gigabytes of lag tables or hours of computation.
constexpr int kMinD = 1;
constexpr int kMaxD = 1000;
constexpr int kMinM = 2;
constexpr int kMaxM = 100000;

// How a text file becomes the document's series: the import filter and the
// global parameters to apply afterwards.
struct SeriesOptions
{
    bool filter = false;
    int under = 0;
    int over = 0;
    std::optional<int> d;
    std::optional<int> m;
};

// The options behind SeriesOptions, for the option tables of the commands
// that import a text file.
inline constexpr OptionDef kFilterOption{"--filter", "", 2, "UNDER OVER"};
inline constexpr OptionDef kDOption{"--D", "", 1, "N"};
inline constexpr OptionDef kMOption{"--M", "", 1, "N"};

// Reads --filter, --D and --M from parsed (those present); throws
// UsageError for a value out of range.
SeriesOptions ReadSeriesOptions(const ParsedArgs& parsed);

// Imports path into doc as the workbench does, then, when --D or --M was
// given, sets the global parameters (the other one keeps its value). False
// when the import failed; the document has then told the user why.
// An import that accepts no value warns on standard error: its estimate is
// not a measurement.
bool ImportSeries(CKestrinDoc& doc, const std::string& path, const SeriesOptions& options);

// Whether n values are too few for every lag: L(r) is 0 when no segment of
// D values r apart fits, that is for r > n - D, and the fit then reads
// log10(L(r)/r) as 0.
inline bool TooFewForLags(int n, int nD, int nM)
{
    return static_cast<long long>(n) - nD < nM;
}
