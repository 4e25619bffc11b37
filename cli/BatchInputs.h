#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/SeriesImport.h"

// The options that make a command run over many series.
inline constexpr OptionDef kFilesFromOption{"--files-from", "", 1, "LIST"};
inline constexpr OptionDef kFormatOption{"--format", "", 1, "csv|tsv|jsonl"};
inline constexpr OptionDef kJobsOption{"--jobs", "-j", 1, "N"};
inline constexpr OptionDef kQuietOption{"--quiet", "-q", 0};

// One series of a batch: a text file (or document), or one Y field of the
// --db table. Only names are held; the data is read when the series is
// computed.
struct BatchSeries
{
    std::string path;
    // The Y field, for a --db table.
    std::string yField;
    // Why the series cannot be read at all (a --y '*' whose database could
    // not be listed, or that found no numeric field): its row is this error.
    std::string error;
};

// The series of a command line: the FILEs in order, then those of
// --files-from LIST (one name a line, "-" for standard input; blank lines
// are skipped, a trailing CR is not part of the name); or, with --db, one
// per name of --y Y1,Y2,... or, for --y '*', one per numeric field of the
// table but X, in the table's field order. Throws UsageError for no input,
// FILEs with --db, or an empty name in --y; a LIST that cannot be read
// throws std::runtime_error.
std::vector<BatchSeries> ReadBatchSeries(const ParsedArgs& parsed, const SeriesOptions& options);

// Whether the command line asks for more than one series, or for a batch
// option (--files-from, --format, --jobs, --quiet, -o).
bool WantsBatch(const ParsedArgs& parsed);

// The options of one series: those given, its Y field for a database.
SeriesOptions SeriesOptionsFor(const SeriesOptions& options, const BatchSeries& series);

// The numeric fields of a table but xField, in the table's order: a field is
// numeric when its first value that is neither empty nor null reads as a
// finite number. Throws CDatabaseError when the table cannot be read.
std::vector<std::string> NumericFields(const std::string& database, const std::string& table,
                                       const std::string& xField);
