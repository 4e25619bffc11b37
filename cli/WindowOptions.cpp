#include "cli/WindowOptions.h"

#include <algorithm>
#include <limits>

#include "cli/AnalysisInput.h"
#include "cli/EdgeWarnings.h"
#include "cli/JsonWriter.h"
#include "document/KestrinDoc.h"
#include "cli/SeriesImport.h"
#include "analysis/SlopeWindows.h"
#include "cli/TextOutput.h"

namespace {

constexpr std::int64_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<std::int32_t>::max();

// A slope needs two points: a window of one gives a slope of 0 that
// measures nothing, so the command line refuses it.
constexpr std::int32_t kMinCliSlopeWindow = std::max<std::int32_t>(2, kMinSlopeWindow);

double ReadPlotPoint(const ParsedArgs& parsed)
{
    const std::string& text = parsed.Values("--plot-point")[0];
    const double value = ParseRealNumber(text, "--plot-point");
    if (value < 0.0 || value > 1.0)
        throw UsageError("--plot-point: " + text + " is out of range (allowed: 0 to 1)");
    return value;
}

} // namespace

WindowOptions ReadWindowOptions(const ParsedArgs& parsed, bool inputIsDocument)
{
    WindowOptions options;
    if (parsed.Has("--plot-point"))
        options.plotPoint = ReadPlotPoint(parsed);
    if (!parsed.Has("--width")) {
        for (const char* name : {"--spacing", "--window-D", "--window-M", "--window-best-m", "--window-r-min"})
            if (parsed.Has(name))
                throw UsageError(std::string(name) + " needs --width W (the windows to compute)");
        if (!inputIsDocument)
            throw UsageError("missing --width W and --spacing S (only a .kst document holds sliding-window "
                             "results to use as they are)");
        return options;
    }
    if (!parsed.Has("--spacing"))
        throw UsageError("missing --spacing S (the distance in points between window starts)");
    if (parsed.Has("--window-M") && parsed.Has("--window-best-m"))
        throw UsageError("--window-M and --window-best-m exclude each other");

    // Width and spacing are taken over the whole 32-bit range, so that a
    // negative or zero one gets the workbench's own refusal below.
    SlidingWindowParams params;
    params.width =
        static_cast<std::int32_t>(ParseWholeNumber(parsed.Values("--width")[0], "--width", kIntMin, kIntMax));
    params.spacing =
        static_cast<std::int32_t>(ParseWholeNumber(parsed.Values("--spacing")[0], "--spacing", kIntMin, kIntMax));
    if (parsed.Has("--window-D"))
        params.nD = static_cast<std::int32_t>(
            ParseWholeNumber(parsed.Values("--window-D")[0], "--window-D", kMinD, kMaxD));
    params.useBestM = !parsed.Has("--window-M");
    params.nM = params.useBestM
                    ? 0
                    : static_cast<std::int32_t>(
                          ParseWholeNumber(parsed.Values("--window-M")[0], "--window-M", kMinM, kMaxWindowM));
    if (parsed.Has("--window-r-min"))
        params.nRMin = static_cast<std::int32_t>(
            ParseWholeNumber(parsed.Values("--window-r-min")[0], "--window-r-min", kMinFirstLag, kMaxWindowM - 1));
    if (options.plotPoint)
        params.plotPoint = *options.plotPoint;
    // The dialog's own words for a spacing of 0 or less are misspelt, and
    // kept so there; the command line spells them right.
    if (params.spacing <= 0)
        throw UsageError("Spacing must be greater than 0.");
    if (const auto refusal = CheckSlidingWindowParams(params))
        throw UsageError(*refusal);
    options.compute = params;
    return options;
}

std::int32_t ReadSlopeWindowSize(const ParsedArgs& parsed)
{
    if (!parsed.Has("--size"))
        throw UsageError("missing --size N (the slope window size)");
    return static_cast<std::int32_t>(
        ParseWholeNumber(parsed.Values("--size")[0], "--size", kMinCliSlopeWindow, kMaxSlopeWindow));
}

void ObtainSlidingResults(CCliUi& ui, CKestrinDoc& doc, const WindowOptions& options)
{
    // The parameters passed CheckSlidingWindowParams when they were read,
    // so the computation cannot refuse them.
    if (options.compute) {
        WarnIfWindowMTooLarge(ui, *options.compute);
        ComputeSlidingWindows(doc, *options.compute);
    } else if (options.plotPoint)
        ResetPlotPoints(doc, *options.plotPoint);
}

WindowSource WindowSourceOf(const CKestrinDoc& doc, const WindowOptions& options)
{
    WindowSource source;
    source.count = doc.m_windows.GetSize();
    if (options.compute) {
        const SlidingWindowParams& p = *options.compute;
        source.computed = true;
        source.width = p.width;
        source.spacing = p.spacing;
        source.d = p.nD;
        source.m = WindowM(p);
        source.rMin = p.nRMin;
        source.plotPoint = p.plotPoint;
    } else {
        source.spacing = doc.m_nSpacing;
        source.plotPoint = options.plotPoint;
    }
    return source;
}

void WriteWindowSource(CJsonWriter& json, const WindowSource& source)
{
    json.Key("windows");
    json.BeginObject(true);
    if (source.computed) {
        json.StringField("source", "computed");
        json.IntegerField("width", source.width);
        json.IntegerField("spacing", source.spacing);
        json.IntegerField("D", source.d);
        json.IntegerField("M", source.m);
        if (source.rMin != 1)
            json.IntegerField("r_min", source.rMin);
    } else {
        json.StringField("source", "document");
        json.IntegerField("spacing", source.spacing);
    }
    if (source.plotPoint)
        json.Field("plot_point", *source.plotPoint);
    json.IntegerField("count", source.count);
    json.EndObject();
}

std::string WindowSourceText(const WindowSource& source)
{
    std::string text = std::to_string(source.count);
    if (source.computed) {
        text += " (width " + std::to_string(source.width) + ", spacing " + std::to_string(source.spacing) + ", D " +
                std::to_string(source.d) + ", M " + std::to_string(source.m) +
                (source.rMin != 1 ? ", first lag " + std::to_string(source.rMin) : std::string()) + ", plot point " +
                Exact(source.plotPoint.value_or(0.0)) + ")";
    } else {
        text += " (stored in the document, spacing " + std::to_string(source.spacing);
        if (source.plotPoint)
            text += ", moved to plot point " + Exact(*source.plotPoint);
        text += ")";
    }
    return text;
}
