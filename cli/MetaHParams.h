#pragma once

#include <cstdint>
#include <optional>
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
    std::int32_t nRMin = 1;
};

inline constexpr OptionDef kBestMOption{"--best-m", "", 0};

// Reads --D, --M, --r-min and --best-m; throws UsageError (a first lag
// with --M outside 1..M - 1 too).
MetaHParams ReadMetaHParams(const ParsedArgs& parsed);

// Why Meta H's first lag cannot be used over that many results (the M then
// taken leaves fewer than two lags from it); nothing when it can, and for no
// results at all.
std::optional<std::string> CheckMetaHFirstLag(const MetaHParams& params, int results);

// The best M is the number of results; more than --M accepts would ask for
// lag tables no typed M may, so it is held to that limit, with a warning.
void LimitBestM(CCliUi& ui, int results, MetaHParams& params);

// Why Meta H has nothing to be computed over, for the windows asked for.
std::string NoMetaHResultsMessage(const WindowOptions& windows);
