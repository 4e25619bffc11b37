#pragma once

#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/BootstrapReport.h"
#include "analysis/IntervalBootstraps.h"
#include "analysis/MethodComparison.h"

class CHDataSet;
class CJsonWriter;

// --method curve|dfa|whittle|all, taken by estimate and tabs.
inline constexpr OptionDef kMethodOption{"--method", "", 1, "curve|dfa|whittle|all"};

// The methods --method names, in the order curve, dfa, whittle; empty
// without --method. Throws UsageError for another word.
std::vector<EHMethod> ReadMethods(const ParsedArgs& parsed);

// The methods' estimates of an estimator as last computed, with each one's
// bootstrap when options.run; throws std::runtime_error with the reason
// when a bootstrap cannot be run.
CMethodComparison MethodsOf(const CHDataSet& set, const std::vector<EHMethod>& methods,
                            const BootstrapOptions& options);

// The curve length's bootstrap in the comparison (which may be null), when it holds one.
const CBootstrapResult* CurveBootstrapIn(const CMethodComparison* comparison);

// The bootstrap of a row that BootstrapIntervals ran: throws
// std::runtime_error "--bootstrap: REASON" when it was refused, and warns
// once of an interval left out.
CBootstrapResult TakeBootstrapRow(CCliUi& ui, const CIntervalBootstrapRow& row);

// The curve length's bootstrap: the comparison's when it holds one, else
// run for the set (as BootstrapOf runs it).
CBootstrapResult CurveBootstrapOf(CCliUi& ui, const std::optional<CMethodComparison>& comparison, const CHDataSet& set,
                                  const BootstrapOptions& options);

// A line "series" with the noise-or-motion reading the methods follow
// (SeriesKindLabel), then one text line per method: "method  dfa  H 0.712 (α 1.712, 11 scales)",
// "method  whittle  H 0.705, standard error 0.012", followed, with a
// bootstrap, by its "H corrected ..., 95 % interval ..."; then, with two
// intervals or more, whether they overlap (naming the methods bootstrapped
// without an interval, which are not compared). suffix names an interval
// ("method 2" and so on) when not empty.
void AppendMethodLines(std::string& out, const CMethodComparison& comparison, const std::string& suffix = {});

// "methods_series" (the reading, as the text's "series" line), then the
// JSON array "methods": {"method", "H", "standard_error", "alpha",
// "scales", "bootstrap": {"H_corrected", "low", "high"}}, members that do
// not apply left out; with two intervals or more "intervals_overlap" after it.
void WriteMethods(CJsonWriter& json, const CMethodComparison& comparison);
