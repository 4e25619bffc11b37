#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "analysis/Bootstrap.h"

class CCliUi;
class CHDataSet;
class CJsonWriter;
class CKestrinDoc;

// --bootstrap [--replicates K] [--seed S] [--input noise|motion|auto], taken
// by estimate and tabs.
inline constexpr OptionDef kBootstrapOption{"--bootstrap", "", 0};
inline constexpr OptionDef kReplicatesOption{"--replicates", "", 1, "K"};
inline constexpr OptionDef kSeedOption{"--seed", "", 1, "S"};
inline constexpr OptionDef kInputOption{"--input", "", 1, "noise|motion|auto"};

struct BootstrapOptions
{
    bool run = false;
    int replicates = kDefaultBootstrapReplicates;
    std::uint64_t seed = kDefaultBootstrapSeed;
    ESeriesInput input = ESeriesInput::Auto;
    // The series is known to be a profile (its document says it was made
    // by Profile).
    bool isProfile = false;
};

// Throws UsageError for a bad K, S or input, or for any of them without
// --bootstrap.
BootstrapOptions ReadBootstrapOptions(const ParsedArgs& parsed);

// The options for doc's series: a document made by Profile is bootstrapped
// as the profile of fractional Gaussian noise (isDocument: doc was opened
// from a Kestrin document rather than imported).
BootstrapOptions BootstrapOptionsFor(BootstrapOptions options, bool isDocument, const CKestrinDoc& doc);

// The bootstrap of an estimator as it was last computed, its series decided
// noise or motion first, with the model check; throws std::runtime_error
// with the reason when it cannot be run. When it can give no interval
// (CheckBootstrapInterval), low and high are left out and ui warns why (once
// for the same reason).
CBootstrapResult BootstrapOf(CCliUi& ui, const CHDataSet& set, const BootstrapOptions& options);

// The options as the analysis library takes them.
CSeriesBootstrapOptions SeriesOptionsOf(const BootstrapOptions& options);

// Warns once of an interval left out (LeaveOutUngivenInterval's reason).
void WarnOfLeftOutInterval(CCliUi& ui, const std::optional<std::string>& reason);

// Warns what the decision of noise or motion means for the reading (a noise,
// an unclear call, the profile of a motion); about names the series in the
// warning when not empty ("interval 2: ").
void WarnSeriesKind(CCliUi& ui, const CBootstrapResult& result, const std::string& about = {});

// Whether the interval of results[i] shares no point with that of
// results[i - 1]; nothing for the first or when either gives no interval.
std::optional<bool> DiffersFromPrevious(const std::vector<CBootstrapResult>& results, std::size_t i);

// The result as the text line "bootstrap  ..." (and the lines "model",
// "precision", "check" and "note" that follow it), or as the JSON member
// "bootstrap": {"replicates", "seed", "level", "H_corrected", "low", "high",
// "model", "input", "series_kind", "alpha", "H_corrected_bound",
// "low_bound", "high_bound", "mc_error", "use_more_replicates",
// "model_check", "notes"}, an H that cannot be reached being null.
std::string BootstrapText(const CBootstrapResult& result);
void AppendBootstrapField(std::string& out, const CBootstrapResult& result, const std::string& suffix = {});
void WriteBootstrap(CJsonWriter& json, const CBootstrapResult& result);
