#include "analysis/MethodComparison.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "analysis/BootstrapLimits.h"
#include "core/HDataSet.h"

CMethodComparison CompareMethods(const CHDataSet& set, const std::vector<EHMethod>& methods, ESeriesInput input,
                                 bool isProfile, const CSeriesBootstrapOptions* bootstrap,
                                 const BootstrapProgress& progress)
{
    CMethodComparison comparison;
    const std::span<const double> values = EstimatedValues(set);
    comparison.decision = DecideSeriesKind(values.data(), values.size(), input, isProfile);
    for (const EHMethod method : methods) {
        CMethodRow row;
        if (method == EHMethod::Curve) {
            row.estimate.method = method;
            row.estimate.h = set.GetH();
            row.estimate.standardError = row.estimate.alpha = std::numeric_limits<double>::quiet_NaN();
        } else {
            row.estimate = EstimateByMethod(method, values.data(), values.size(), comparison.decision.estimatedAs);
        }
        comparison.rows.push_back(row);
    }
    if (!bootstrap)
        return comparison;
    CSeriesBootstrapOptions asked = *bootstrap;
    asked.input = input;
    asked.isProfile = isProfile;
    const double count = static_cast<double>(comparison.rows.size());
    for (std::size_t i = 0; i < comparison.rows.size() && !comparison.cancelled; ++i) {
        CMethodRow& row = comparison.rows[i];
        asked.modelCheck = bootstrap->modelCheck && row.estimate.method == EHMethod::Curve;
        CBootstrapRequest request = SeriesBootstrapRequest(set, asked);
        if (row.estimate.method != EHMethod::Curve) {
            request.method = row.estimate.method;
            request.observedH = row.estimate.h;
        }
        if (const auto refusal = CheckBootstrapRequest(request))
            throw std::runtime_error(std::string(HMethodName(row.estimate.method)) + ": " + *refusal);
        const BootstrapProgress part = [&](double fraction) {
            return !progress || progress((static_cast<double>(i) + fraction) / count);
        };
        row.bootstrap = RunBootstrap(request, part);
        LeaveOutUngivenInterval(request, *row.bootstrap);
        comparison.cancelled = row.bootstrap->cancelled;
    }
    return comparison;
}

std::optional<bool> IntervalsOverlap(const CMethodComparison& comparison)
{
    std::vector<const CBootstrapResult*> results;
    for (const CMethodRow& row : comparison.rows)
        if (row.bootstrap)
            results.push_back(&*row.bootstrap);
    return BootstrapIntervalsOverlap(results);
}
