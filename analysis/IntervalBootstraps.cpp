#include "analysis/IntervalBootstraps.h"

#include "analysis/BootstrapLimits.h"
#include "analysis/BootstrapText.h"
#include "analysis/EstimateWarnings.h"
#include "core/CsvField.h"
#include "core/Format.h"
#include "core/HDataSet.h"

std::vector<CIntervalSpan> IntervalSpansOf(const std::vector<std::int32_t>& positions, double xMin, double xMax)
{
    std::vector<CIntervalSpan> spans;
    spans.reserve(positions.size() + 1);
    double lower = xMin;
    for (const std::int32_t position : positions) {
        spans.push_back({.global = false, .lower = lower, .upper = static_cast<double>(position)});
        lower = position;
    }
    spans.push_back({.global = false, .lower = lower, .upper = xMax});
    return spans;
}

namespace {

CBootstrapResult Cancelled()
{
    CBootstrapResult result;
    result.cancelled = true;
    return result;
}

// One estimate's bootstrap into row; false when it was cancelled.
bool RunOne(const CIntervalEstimate& estimate, const CSeriesBootstrapOptions& options,
            const BootstrapProgress& progress, CIntervalBootstrapRow& row)
{
    const CHDataSet& set = *estimate.set;
    if (estimate.given) {
        // The interval left out of it for the same reason a run of its own
        // would leave it out (the reason rests on n, D, M, the replicates
        // and the level only).
        CBootstrapRequest request = BootstrapRequestFor(set);
        request.replicates = options.replicates;
        row.leftOut = CheckBootstrapInterval(request);
        row.result = *estimate.given;
        return true;
    }
    const CBootstrapRequest request = SeriesBootstrapRequest(set, options);
    row.refusal = CheckBootstrapRequest(request);
    if (row.refusal)
        return true;
    row.result = RunBootstrap(request, progress);
    if (row.result.cancelled)
        return false;
    row.leftOut = LeaveOutUngivenInterval(request, row.result);
    return true;
}

} // namespace

std::vector<CIntervalBootstrapRow> BootstrapIntervals(const std::vector<CIntervalEstimate>& estimates,
                                                      const CSeriesBootstrapOptions& options,
                                                      const BootstrapProgress& progress)
{
    std::vector<CIntervalBootstrapRow> rows;
    rows.reserve(estimates.size());
    const double count = static_cast<double>(estimates.size());
    bool cancelled = false;
    for (std::size_t i = 0; i < estimates.size(); ++i) {
        CIntervalBootstrapRow& row = rows.emplace_back();
        const CIntervalEstimate& estimate = estimates[i];
        row.span = estimate.span;
        row.n = estimate.set->GetCount();
        row.h = estimate.set->GetH();
        if (!cancelled && progress && !progress(static_cast<double>(i) / count))
            cancelled = true;
        if (cancelled) {
            row.result = Cancelled();
            continue;
        }
        BootstrapProgress part;
        if (progress)
            part = [&](double fraction) { return progress((static_cast<double>(i) + fraction) / count); };
        cancelled = !RunOne(estimate, options, part, row);
    }
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (!rows[i].span.global && !rows[i - 1].span.global && !rows[i].result.cancelled &&
            !rows[i - 1].result.cancelled) {
            const auto overlap = BootstrapIntervalsOverlap({&rows[i - 1].result, &rows[i].result});
            if (overlap)
                rows[i].apartFromPrevious = !*overlap;
        }
    return rows;
}

std::string ApartText(const CIntervalBootstrapRow& row)
{
    if (!row.apartFromPrevious)
        return {};
    return *row.apartFromPrevious ? "apart" : "overlap";
}

std::string SpanText(const CIntervalSpan& span)
{
    if (span.global)
        return "global";
    return FormatFixed(span.lower, 6) + " to " + FormatFixed(span.upper, 6);
}

std::vector<std::string> IntervalBootstrapNotes(const CIntervalBootstrapRow& row, const CHDataSet& set,
                                                const std::string& chooseHint)
{
    std::vector<std::string> notes;
    for (const auto& reason : {row.refusal, row.leftOut})
        if (reason)
            notes.push_back(*reason);
    const CBootstrapResult& result = row.result;
    const bool ran = !row.refusal && !result.cancelled;
    std::vector<std::string> more = ran ? BootstrapNotes(result) : std::vector<std::string>();
    for (std::string& warning : ran ? BootstrapReadingWarnings(set, result, chooseHint) : HReadingWarnings(set, nullptr))
        more.push_back(std::move(warning));
    notes.insert(notes.end(), more.begin(), more.end());
    return notes;
}

namespace {

std::string ValueText(const std::optional<double>& value, EBootstrapBound bound, double error)
{
    return value ? BootstrapValueText(*value, bound, error) : std::string();
}

} // namespace

std::string IntervalBootstrapsCsv(const std::vector<CIntervalBootstrapRow>& rows)
{
    std::string out = "interval,lower X,upper X,n,H,H corrected,low,high,vs previous,series,model,model check\r\n";
    int number = 0;
    for (const CIntervalBootstrapRow& row : rows) {
        const CBootstrapResult& r = row.result;
        std::vector<std::string> fields{row.span.global ? std::string("global") : std::to_string(++number),
                                        FormatFixed(row.span.lower, 6), FormatFixed(row.span.upper, 6),
                                        std::to_string(row.n), FormatFixed(row.h, 6)};
        if (!row.refusal && !r.cancelled) {
            fields.push_back(ValueText(r.corrected, r.correctedBound, r.correctedError));
            fields.push_back(ValueText(r.low, r.lowBound, r.lowError));
            fields.push_back(ValueText(r.high, r.highBound, r.highError));
            fields.push_back(ApartText(row));
            fields.push_back(r.decision ? SeriesKindLabel(*r.decision) : std::string());
            fields.push_back(BootstrapModelName(r.model));
            fields.push_back(r.check ? (r.check->passed ? "passed" : "failed") : "");
        }
        fields.resize(12);
        for (std::size_t i = 0; i < fields.size(); ++i)
            out += (i > 0 ? "," : "") + CsvField(fields[i]);
        out += "\r\n";
    }
    return out;
}
