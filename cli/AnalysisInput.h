#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/Args.h"
#include "cli/SeriesImport.h"

class CCliUi;
class CJsonWriter;
class CKestrinDoc;

// The INPUT of the analysis commands: a Kestrin document (a name ending in
// ".kst", any case), opened as it was saved, or a series imported as the
// text import (or, with --db, the database import) reads it.
struct AnalysisInput
{
    std::string path;
    SeriesOptions series;
    bool isDocument = false;
};

// The file an analysis command writes: a text export or a new document.
inline constexpr OptionDef kOutputFileOption{"--output", "-o", 1, "FILE"};
inline constexpr OptionDef kOutputDocOption{"--output", "-o", 1, "DOC.kst"};

// Whether path names a Kestrin document rather than a text file.
bool IsDocumentPath(std::string_view path);

// Whether the series comes from a Kestrin document (a .kst name, not a
// database). Throws UsageError for --filter with a document.
bool IsDocumentInput(const std::string& path, const SeriesOptions& options);

// For the commands that take --D and --M: opens the document at path (when
// IsDocumentInput) and sets the global parameters that were given, or
// imports the series as ImportSeries does. False when that failed.
bool LoadSeriesOrDocument(CCliUi& ui, CKestrinDoc& doc, const std::string& path, const SeriesOptions& options);

// A document written to a name that does not end in ".kst" is read by the
// other commands as a text file (and refused as one): warns of it.
void WarnIfNotDocumentName(CCliUi& ui, const std::string& output);

// -o - with --json: both would write to standard output (UsageError).
void RefuseJsonWithStandardOutput(const ParsedArgs& parsed, const std::string& output);

// Reads INPUT and its import options (--filter, --db, --table, --x, --y)
// from parsed. The analysis commands never change the global parameters, so
// --D and --M are not taken as such. Throws UsageError for a missing or
// extra INPUT, bad import options, or --filter with a document.
AnalysisInput ReadAnalysisInput(const ParsedArgs& parsed);

// Opens or imports the input into doc (whose UI is ui). False when that
// failed; the user has been told why on standard error. A constant series
// is warned of.
bool LoadAnalysisInput(CCliUi& ui, CKestrinDoc& doc, const AnalysisInput& input);

// The JSON fields naming the input: "file" and, for a database table,
// "table", "x_field", "y_field".
void WriteInputSource(CJsonWriter& json, const AnalysisInput& input);

// The -o file, if given (required: it must be). Throws UsageError for a
// missing required one, an empty name, or the INPUT file itself, which the
// command would otherwise replace with its output.
std::optional<std::string> ReadOutputOption(const ParsedArgs& parsed, const AnalysisInput& input, bool required);

// A finite decimal number ("0.5", "-3", "1e3"); throws UsageError naming
// what otherwise.
double ParseRealNumber(std::string_view text, std::string_view what);
