#pragma once

#include <cstdint>
#include <string>

#include "Args.h"
#include "Bootstrap.h"

class CCliUi;
class CHDataSet;
class CJsonWriter;

// --bootstrap [--replicates K] [--seed S], taken by estimate and tabs.
inline constexpr OptionDef kBootstrapOption{"--bootstrap", "", 0};
inline constexpr OptionDef kReplicatesOption{"--replicates", "", 1, "K"};
inline constexpr OptionDef kSeedOption{"--seed", "", 1, "S"};

struct BootstrapOptions
{
    bool run = false;
    int replicates = kDefaultBootstrapReplicates;
    std::uint64_t seed = kDefaultBootstrapSeed;
};

// Throws UsageError for a bad K or S, or for either without --bootstrap.
BootstrapOptions ReadBootstrapOptions(const ParsedArgs& parsed);

// The bootstrap of an estimator as it was last computed; throws
// std::runtime_error with the reason when it cannot be run. When it can give
// no interval (CheckBootstrapInterval), low and high are left out and ui
// warns why (once for the same reason).
CBootstrapResult BootstrapOf(CCliUi& ui, const CHDataSet& set, const BootstrapOptions& options);

// The result as the text line "bootstrap  ..." or as the JSON member
// "bootstrap": {"replicates", "seed", "level", "H_corrected", "low", "high"},
// an H that cannot be reached being null.
std::string BootstrapText(const CBootstrapResult& result);
void AppendBootstrapField(std::string& out, const CBootstrapResult& result);
void WriteBootstrap(CJsonWriter& json, const CBootstrapResult& result);
