#include "analysis/HMethods.h"

#include <limits>
#include <utility>

#include "analysis/Dfa.h"
#include "analysis/SeriesProfile.h"
#include "analysis/Whittle.h"

const char* HMethodWord(EHMethod method)
{
    switch (method) {
    case EHMethod::Dfa: return "dfa";
    case EHMethod::Whittle: return "whittle";
    case EHMethod::Curve: break;
    }
    return "curve";
}

const char* HMethodName(EHMethod method)
{
    switch (method) {
    case EHMethod::Dfa: return "DFA-1";
    case EHMethod::Whittle: return "Whittle (fGn)";
    case EHMethod::Curve: break;
    }
    return "curve length";
}

std::optional<EHMethod> HMethodOfWord(const std::string& word)
{
    for (const EHMethod method : kAllHMethods)
        if (word == HMethodWord(method))
            return method;
    return std::nullopt;
}

CMethodEstimate EstimateByMethod(EHMethod method, const double* values, std::size_t count, ESeriesKind kind,
                                 CMethodFit* fit)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CMethodEstimate estimate;
    estimate.method = method;
    estimate.h = estimate.standardError = estimate.alpha = nan;
    const bool noise = kind == ESeriesKind::Noise;
    switch (method) {
    case EHMethod::Curve: break;
    case EHMethod::Dfa: {
        CDfaResult dfa = Dfa1(values, count);
        estimate.alpha = dfa.alpha;
        estimate.scales = static_cast<int>(dfa.scales.size());
        estimate.h = noise ? dfa.alpha : dfa.alpha - 1.0;
        if (fit)
            fit->dfa = std::move(dfa);
        break;
    }
    case EHMethod::Whittle: {
        CWhittleResult whittle;
        CWhittleFit* whittleFit = fit ? &fit->whittle : nullptr;
        if (noise) {
            whittle = WhittleFgn(values, count, whittleFit);
        } else {
            const std::vector<double> increments = Increments(values, count);
            whittle = WhittleFgn(increments.data(), increments.size(), whittleFit);
        }
        estimate.h = whittle.h;
        estimate.standardError = whittle.standardError;
        estimate.scales = whittle.frequencies;
        break;
    }
    }
    return estimate;
}
