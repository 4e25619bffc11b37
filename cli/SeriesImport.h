#pragma once

#include <optional>
#include <string>

#include "cli/Args.h"
#include "core/OptimumM.h"

class CCliUi;
class CJsonWriter;
class CKestrinDoc;

// The ranges accepted for the estimator's parameters. A line fit needs at
// least two lags; the upper limits keep a mistyped number from asking for
// gigabytes of lag tables or hours of computation.
constexpr int kMinD = kMinEmbeddingD;
constexpr int kMaxD = kMaxEmbeddingD;
constexpr int kMinM = kMinLagCount;
constexpr int kMaxM = kMaxLagCount;

// A series read from a table of a database file instead of a text file.
struct DatabaseSource
{
    std::string file;
    std::string table;
    std::string xField;
    std::string yField;
};

// Where the document's series comes from and how: a text file with its
// import filter, or a database table; and the global parameters to apply
// afterwards.
struct SeriesOptions
{
    std::optional<DatabaseSource> database;
    bool filter = false;
    int under = 0;
    int over = 0;
    std::optional<int> d;
    std::optional<int> m;
    // --r-min: the first lag of the fit.
    std::optional<int> rMin;
};

// The options behind SeriesOptions, for the option tables of the commands
// that import a text file.
inline constexpr OptionDef kFilterOption{"--filter", "", 2, "UNDER OVER"};
inline constexpr OptionDef kDOption{"--D", "", 1, "N"};
inline constexpr OptionDef kMOption{"--M", "", 1, "N"};
inline constexpr OptionDef kRMinOption{"--r-min", "", 1, "R"};
// The options that read a database table instead of a text file.
inline constexpr OptionDef kDbOption{"--db", "", 1, "FILE"};
inline constexpr OptionDef kTableOption{"--table", "", 1, "NAME"};
inline constexpr OptionDef kXFieldOption{"--x", "", 1, "FIELD"};
inline constexpr OptionDef kYFieldOption{"--y", "", 1, "FIELD"};

// Reads --db, --table, --x, --y, --filter, --D, --M and --r-min from parsed
// (those present); throws UsageError for a value out of range (a first lag
// with --M outside 1..M - 1), a database option without the other three, or
// --filter with --db.
SeriesOptions ReadSeriesOptions(const ParsedArgs& parsed);

// The global parameters --D, --M and --r-min give a document: the other ones
// keep the document's values; a first lag not given stays the document's
// when it still leaves two lags to fit, else it is 1. The reason, when the
// first lag given leaves fewer than two lags under the M the document will
// have.
std::optional<std::string> ApplyGlobalParameters(CKestrinDoc& doc, const SeriesOptions& options);

// The file the series is read from: the text FILE, the only file name on
// the command line, or the --db file, when no file name may be given.
const std::string& SeriesInput(const ParsedArgs& parsed, const SeriesOptions& options);

// The JSON fields naming where the series came from: "file" (the text file
// or the database file) and, for a database, "table", "x_field", "y_field".
void WriteSeriesSource(CJsonWriter& json, const std::string& path, const SeriesOptions& options);

// The text FILE that names standard input.
inline constexpr const char* kStandardInput = "-";

// Imports path (standard input for "-", or the database table of options)
// into doc as the workbench does, then, when --D, --M or --r-min was given,
// sets the global parameters (ApplyGlobalParameters; a first lag refused
// there fails the import with its reason). False when the import
// failed; the document has then told the user why through ui (doc's UI).
// An import that accepts no value, or only equal ones, warns through ui:
// its estimate is not a measurement.
bool ImportSeries(CCliUi& ui, CKestrinDoc& doc, const std::string& path, const SeriesOptions& options);
