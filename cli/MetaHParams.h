#pragma once

#include <cstdint>
#include <string>

#include "cli/Args.h"

class CCliUi;
struct WindowOptions;

// Meta H's own parameters; --D and --M of meta-h are these, not the
// series' global ones.
struct MetaHParams
{
    std::int32_t nD = 6;
    std::int32_t nM = 0;
    bool useBestM = true;
};

inline constexpr OptionDef kBestMOption{"--best-m", "", 0};

// Reads --D, --M and --best-m; throws UsageError.
MetaHParams ReadMetaHParams(const ParsedArgs& parsed);

// The best M is the number of results; more than --M accepts would ask for
// lag tables no typed M may, so it is held to that limit, with a warning.
void LimitBestM(CCliUi& ui, int results, MetaHParams& params);

// Why Meta H has nothing to be computed over, for the windows asked for.
std::string NoMetaHResultsMessage(const WindowOptions& windows);
