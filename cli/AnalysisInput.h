#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Args.h"
#include "SeriesImport.h"

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

// Reads INPUT and its import options (--filter, --db, --table, --x, --y)
// from parsed. The analysis commands never change the global parameters, so
// --D and --M are not taken as such. Throws UsageError for a missing or
// extra INPUT, bad import options, or --filter with a document.
AnalysisInput ReadAnalysisInput(const ParsedArgs& parsed);

// Opens or imports the input into doc (whose UI is ui). False when that
// failed; the user has been told why on standard error. A constant series
// is warned of.
bool LoadAnalysisInput(CCliUi& ui, CKestrinDoc& doc, const AnalysisInput& input);

// The series of estimate and tabs: a Kestrin document opened as it was
// saved, with --D and --M of options over its own, or the series imported
// as ImportSeries does. False when that failed (the user has been told why).
bool OpenOrImportSeries(CCliUi& ui, CKestrinDoc& doc, const std::string& path, const SeriesOptions& options);

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
