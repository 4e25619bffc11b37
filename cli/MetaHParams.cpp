#include "cli/MetaHParams.h"

#include "cli/CliUi.h"
#include "cli/SeriesImport.h"
#include "cli/WindowOptions.h"

MetaHParams ReadMetaHParams(const ParsedArgs& parsed)
{
    MetaHParams params;
    if (parsed.Has("--M") && parsed.Has("--best-m"))
        throw UsageError("--M and --best-m exclude each other");
    if (parsed.Has("--D"))
        params.nD = static_cast<std::int32_t>(ParseWholeNumber(parsed.Values("--D")[0], "--D", kMinD, kMaxD));
    if (parsed.Has("--M")) {
        params.nM = static_cast<std::int32_t>(ParseWholeNumber(parsed.Values("--M")[0], "--M", kMinM, kMaxM));
        params.useBestM = false;
    }
    if (parsed.Has("--r-min")) {
        params.nRMin = static_cast<std::int32_t>(
            ParseWholeNumber(parsed.Values("--r-min")[0], "--r-min", kMinFirstLag, kMaxM - 1));
        if (!params.useBestM && !IsUsableFirstLag(params.nRMin, params.nM))
            throw UsageError("--r-min " + parsed.Values("--r-min")[0] + ": " + FirstLagRangeMessage(params.nM));
    }
    return params;
}

std::optional<std::string> CheckMetaHFirstLag(const MetaHParams& params, int results)
{
    const int nM = params.useBestM ? results : params.nM;
    if (results == 0 || params.nRMin == 1 || IsUsableFirstLag(params.nRMin, nM))
        return std::nullopt;
    return "--r-min " + std::to_string(params.nRMin) + ": " + FirstLagRangeMessage(nM);
}

// The best M is the number of results; more than --M accepts would ask for
// lag tables no typed M may, so it is held to that limit, with a warning.
void LimitBestM(CCliUi& ui, int results, MetaHParams& params)
{
    if (!params.useBestM || results <= kMaxM)
        return;
    params.useBestM = false;
    params.nM = kMaxM;
    ui.Warn("M is held to " + std::to_string(kMaxM) + ", the largest --M takes; the best M would be the " +
            std::to_string(results) + " sliding-window results");
}


std::string NoMetaHResultsMessage(const WindowOptions& windows)
{
    return std::string("no sliding-window results to compute Meta H over (") +
           (windows.compute ? "the series is not longer than the window width"
                            : "the document holds none; compute them with --width W --spacing S") +
           ")";
}
