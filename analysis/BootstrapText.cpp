#include "analysis/BootstrapText.h"

#include <cmath>

#include "core/Format.h"

namespace {

const char* const kAtOrAbove = "\xE2\x89\xA5 ";
const char* const kAtOrBelow = "\xE2\x89\xA4 ";

std::string Percent(double level)
{
    return FormatRoundTrip(level * 100.0) + " %";
}

std::string RangeText()
{
    return "[" + FormatFixed(kBootstrapLowestH, 3) + ", " + FormatFixed(kBootstrapHighestH, 3) + "]";
}

std::string Setting(const CEstimatorSetting& setting)
{
    return "D " + std::to_string(setting.nD) + " M " + std::to_string(setting.nM);
}

} // namespace

std::string BootstrapValueText(double value, EBootstrapBound bound, double error)
{
    switch (bound) {
    case EBootstrapBound::AtOrAbove: return kAtOrAbove + FormatFixed(0.99, 2);
    case EBootstrapBound::AtOrBelow: return kAtOrBelow + FormatFixed(0.01, 2);
    case EBootstrapBound::Value: break;
    }
    return FormatFixed(value, CBootstrapResult::DecimalsFor(error));
}

std::string BootstrapSummaryText(const CBootstrapResult& r)
{
    if (!r.corrected)
        return "the observed H " + FormatFixed(r.observedH, 6) + " cannot be reached by any H in " + RangeText();
    std::string text = "H corrected " + BootstrapValueText(*r.corrected, r.correctedBound, r.correctedError);
    if (!r.low && !r.high)
        return text + ", no " + Percent(r.level) + " interval";
    text += ", " + Percent(r.level) + " interval ";
    text += r.low ? BootstrapValueText(*r.low, r.lowBound, r.lowError) : std::string("none");
    text += " to ";
    text += r.high ? BootstrapValueText(*r.high, r.highBound, r.highError) : std::string("none");
    return text;
}

std::string IntervalsApartText(const CBootstrapResult& result, const std::string& otherLabel)
{
    return "from " + otherLabel + ": the " + Percent(result.level) + " intervals do not overlap";
}

std::string BootstrapModelText(const CBootstrapResult& result)
{
    return BootstrapModelName(result.model);
}

std::string BootstrapPrecisionText(const CBootstrapResult& r)
{
    if (!r.corrected)
        return {};
    std::string text;
    const auto add = [&](double error, const char* what) {
        if (!std::isfinite(error))
            return;
        if (!text.empty())
            text += ", ";
        text += "\xC2\xB1" + FormatFixed(error, 3) + " (" + what + ")";
    };
    add(r.correctedError, "H corrected");
    add(r.lowError, "low");
    add(r.highError, "high");
    if (text.empty())
        text = "not estimated at the range's edges";
    text = "Monte-Carlo error " + text;
    if (r.NeedsMoreReplicates())
        text += "; use more replicates";
    return text;
}

std::string ModelCheckText(const CModelCheck& check)
{
    std::string text = check.passed ? "passed: the settings agree" : "failed: the settings disagree";
    text += " (spread " + FormatFixed(check.statistic, 3) + ", threshold " + FormatFixed(check.threshold, 3) +
            ", p " + FormatFixed(check.pValue, 2) + "); corrected H:";
    for (int s = 0; s < kModelCheckSettingCount; ++s)
        text += std::string(s ? "," : "") + " " + Setting(check.settings[s]) + " " +
                FormatFixed(check.corrected[s], 3);
    return text;
}

std::vector<std::string> BootstrapNotes(const CBootstrapResult& r)
{
    std::vector<std::string> notes;
    if (r.check && !r.check->passed) {
        std::string settings;
        for (int s = 0; s < kModelCheckSettingCount; ++s)
            settings += std::string(s ? ", " : "") + Setting(r.check->settings[s]) + " gives " +
                        FormatFixed(r.check->corrected[s], 2);
        notes.push_back("The data are not like " + BootstrapModelText(r) + " (the settings disagree: " + settings +
                        "); the interval below assumes they are.");
    }
    if (r.check && r.nRMin != 1)
        notes.push_back("The replicates are fitted from lag " + std::to_string(r.nRMin) +
                        " as the estimate is; the model check's settings fit every lag from 1.");
    if (!r.corrected)
        return notes;
    const std::string range = RangeText();
    if (r.correctedBound == EBootstrapBound::AtOrAbove)
        notes.push_back("The observed H lies above the median of every H searched " + range +
                        " but within the replicates: the corrected H is at or above " +
                        FormatFixed(kBootstrapHighestH, 3) + ".");
    else if (r.correctedBound == EBootstrapBound::AtOrBelow)
        notes.push_back("The observed H lies below the median of every H searched " + range +
                        " but within the replicates: the corrected H is at or below " +
                        FormatFixed(kBootstrapLowestH, 3) + ".");
    if (r.highBound == EBootstrapBound::AtOrAbove)
        notes.push_back("The interval reaches the top of the H searched: its high end is at or above " +
                        FormatFixed(kBootstrapHighestH, 3) + "; the model exists only for H below 1.");
    if (r.lowBound == EBootstrapBound::AtOrBelow)
        notes.push_back("The interval reaches the bottom of the H searched: its low end is at or below " +
                        FormatFixed(kBootstrapLowestH, 3) + "; the model exists only for H above 0.");
    return notes;
}
