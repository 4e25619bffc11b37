#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Args.h"
#include "cli/BatchInputs.h"
#include "cli/TidyTable.h"

// What a command computes for each series of a batch: the columns of its
// tidy table (source, table, field, the command's own, status) and the rows
// of one series. rowsOf calls the same functions as the command's single
// run, so every number is the one that run prints; it may throw, the caller
// turning the exception into the series' error row.
struct BatchSeriesRun
{
    std::vector<std::string> columns;
    std::function<std::vector<std::vector<TidyValue>>(const BatchSeries&)> rowsOf;
};

// The run of "estimate", "tabs" or "meta-h" with its options from parsed;
// throws UsageError for options it cannot use.
BatchSeriesRun MakeBatchSeriesRun(std::string_view command, const ParsedArgs& parsed, const SeriesOptions& options);

// The row of a series that could not be computed: its names, empty cells,
// status "error: message".
std::vector<TidyValue> BatchErrorRow(const BatchSeriesRun& run, const SeriesOptions& options,
                                     const BatchSeries& series, const std::string& message);
