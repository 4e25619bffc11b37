#include "cli/BatchCommand.h"

#include <cstdio>
#include <filesystem>
#include <new>
#include <vector>

#include <unistd.h>

#include "cli/AnalysisInput.h"
#include "cli/BatchInputs.h"
#include "cli/BatchRunner.h"
#include "cli/BatchSeriesRuns.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/ProgressLine.h"
#include "platform/SafeFile.h"
#include "platform/TextEncoding.h"
#include "core/WorkSplit.h"

namespace {

constexpr int kMaxJobs = 1024;
// The exit status of a run ended by Ctrl+C, as a shell reports it.
constexpr int kExitInterrupted = 130;

// What the batch options say.
struct BatchOptions
{
    TidyFormat format = TidyFormat::csv;
    unsigned jobs = 1;
    bool quiet = false;
    std::optional<std::string> output;
};

BatchOptions ReadBatchOptions(const ParsedArgs& parsed, const std::vector<BatchSeries>& series)
{
    BatchOptions options;
    if (parsed.Has("--format")) {
        const std::string& name = parsed.Values("--format")[0];
        if (!ParseTidyFormat(name, options.format))
            throw UsageError("--format: \"" + name + "\" is not csv, tsv or jsonl");
        if (parsed.Has("--json") && options.format != TidyFormat::jsonl)
            throw UsageError("--json and --format " + name + " ask for different outputs");
    } else if (parsed.Has("--json")) {
        options.format = TidyFormat::jsonl;
    }
    options.jobs = parsed.Has("--jobs")
                       ? static_cast<unsigned>(ParseWholeNumber(parsed.Values("--jobs")[0], "--jobs", 1, kMaxJobs))
                       : WorkerLimit();
    options.quiet = parsed.Has("--quiet");
    if (parsed.Has("--output")) {
        const std::string& output = parsed.Values("--output")[0];
        if (output.empty())
            throw UsageError("-o: the file name is empty");
        std::error_code ec;
        for (const BatchSeries& one : series)
            if (std::filesystem::equivalent(one.path, output, ec) && !ec)
                throw UsageError("-o \"" + output + "\" is an input file");
        options.output = output;
    }
    return options;
}

// The table's lines of one series; an exception of its computation is its
// error row, with the message a single run prints.
BatchItemResult RowsOf(const BatchSeriesRun& run, const SeriesOptions& options, const BatchSeries& series,
                       TidyFormat format)
{
    std::vector<std::vector<TidyValue>> rows;
    try {
        if (!series.error.empty())
            rows.push_back(BatchErrorRow(run, options, series, series.error));
        else
            rows = run.rowsOf(series);
    } catch (const std::bad_alloc&) {
        rows = {BatchErrorRow(run, options, series, "not enough memory")};
    } catch (const std::exception& e) {
        rows = {BatchErrorRow(run, options, series, e.what())};
    }
    BatchItemResult result;
    for (const auto& row : rows) {
        result.text += TidyRowLine(format, run.columns, row);
        const auto* status = std::get_if<std::string>(&row.back());
        result.failed = result.failed || (status && status->starts_with("error:"));
    }
    return result;
}

// An interrupted run: the -o file is not written.
struct Interrupted : std::runtime_error
{
    Interrupted() : std::runtime_error("interrupted") {}
};

// Runs every series, writing the table through write; the summary.
BatchRunSummary RunAll(const BatchSeriesRun& run, const SeriesOptions& seriesOptions,
                       const std::vector<BatchSeries>& series, const BatchOptions& options,
                       const std::function<void(const std::string&)>& write)
{
    CProgressLine progress(series.size(), !options.quiet && StandardErrorIsTerminal());
    // Rows on the same terminal as the line would be written across it.
    const bool clearForRows = !options.output && ::isatty(STDOUT_FILENO) == 1;
    write(TidyHeaderLine(options.format, run.columns));
    const BatchRunSummary summary = RunBatchInOrder(
        series.size(), options.jobs,
        [&](std::size_t i) { return RowsOf(run, seriesOptions, series[i], options.format); },
        [&](const BatchItemResult& result) {
            if (clearForRows)
                progress.Clear();
            write(result.text);
        },
        [&](std::size_t done, std::size_t failed) { progress.Update(done, failed); }, CInterruptGuard::Stopped());
    progress.Clear();
    return summary;
}

void WriteToStandardOutput(const std::string& text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) != 0 || !written)
        throw std::runtime_error("cannot write the output");
}

int RunBatch(const char* command, const ParsedArgs& parsed)
{
    const SeriesOptions seriesOptions = ReadSeriesOptions(parsed);
    const BatchSeriesRun run = MakeBatchSeriesRun(command, parsed, seriesOptions);
    const std::vector<BatchSeries> series = ReadBatchSeries(parsed, seriesOptions);
    const BatchOptions options = ReadBatchOptions(parsed, series);

    CInterruptGuard interrupts;
    BatchRunSummary summary;
    if (options.output) {
        std::string error;
        const bool ok = WriteFileSafely(
            *options.output,
            [&](CByteSink& sink) {
                summary = RunAll(run, seriesOptions, series, options, [&](const std::string& text) {
                    sink.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
                });
                if (summary.interrupted)
                    throw Interrupted();
            },
            error);
        if (!ok && !summary.interrupted) {
            PrintCliMessage(command, "cannot write \"" + DisplayText(*options.output) + "\": " + error);
            return kExitFailure;
        }
    } else {
        summary = RunAll(run, seriesOptions, series, options, WriteToStandardOutput);
    }
    if (summary.interrupted) {
        PrintCliMessage(command, "interrupted after " + std::to_string(summary.done) + " of " +
                                     std::to_string(series.size()) + " series" +
                                     (options.output ? "; \"" + DisplayText(*options.output) + "\" is not written"
                                                     : std::string()));
        return kExitInterrupted;
    }
    if (!options.quiet || summary.failed > 0)
        PrintCliMessage(command, std::to_string(summary.done) + " series, " +
                                     (summary.failed == 0 ? std::string("none") : std::to_string(summary.failed)) +
                                     " failed");
    return summary.failed > 0 ? kExitFailure : kExitOk;
}

} // namespace

std::optional<int> RunBatchIfAsked(const char* command, std::span<const std::string> args,
                                   std::span<const OptionDef> options)
{
    std::vector<OptionDef> all(options.begin(), options.end());
    all.insert(all.end(), {kFilesFromOption, kFormatOption, kJobsOption, kQuietOption, kOutputFileOption});
    const ParsedArgs parsed = ParseArgs(args, all);
    if (parsed.help || !WantsBatch(parsed))
        return std::nullopt;
    return RunBatch(command, parsed);
}
