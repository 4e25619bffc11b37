#include "analysis/BootstrapLimits.h"

#include <cmath>

#include "core/Format.h"
#include "core/HDataSet.h"

int MinIntervalReplicates(double level)
{
    if (!(level > 0.0 && level < 1.0))
        return 1;
    return static_cast<int>(std::ceil((1.0 + level) / (1.0 - level) - 1e-9));
}

std::optional<std::string> CheckBootstrapInterval(const CBootstrapRequest& request)
{
    const std::string percent = FormatRoundTrip(request.level * 100.0) + " %";
    if (TooFewForLags(request.n, {.nD = request.nD, .nM = request.nM}))
        return "no " + percent + " interval can be given: the series (n = " + std::to_string(request.n) +
               ") is too short for D " + std::to_string(request.nD) + " and M " + std::to_string(request.nM) +
               ", so the replicates' estimates rest on lags without values and their spread says nothing; use "
               "a smaller D or M or a longer series";
    const int least = MinIntervalReplicates(request.level);
    if (request.replicates < least)
        return "no " + percent + " interval can be given from " + std::to_string(request.replicates) +
               (request.replicates == 1 ? " replicate" : " replicates") + ": even the range of all of them covers " +
               "less than " + percent + "; use --replicates " + std::to_string(least) + " or more";
    return std::nullopt;
}

std::optional<std::string> LeaveOutUngivenInterval(const CBootstrapRequest& request, CBootstrapResult& result)
{
    std::optional<std::string> reason = CheckBootstrapInterval(request);
    if (reason) {
        result.low.reset();
        result.high.reset();
    }
    return reason;
}
