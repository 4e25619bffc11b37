#include "SeriesImport.h"

#include <cstdio>
#include <limits>

#include "KestrinDoc.h"
#include "TextEncoding.h"
#include "Usage.h"

SeriesOptions ReadSeriesOptions(const ParsedArgs& parsed)
{
    SeriesOptions options;
    if (parsed.Has("--filter")) {
        const auto& bounds = parsed.Values("--filter");
        constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
        options.filter = true;
        options.under = static_cast<int>(ParseWholeNumber(bounds[0], "--filter UNDER", 0, kMax));
        options.over = static_cast<int>(ParseWholeNumber(bounds[1], "--filter OVER", 0, kMax));
        if (options.under >= options.over)
            throw UsageError("--filter " + bounds[0] + " " + bounds[1] +
                             ": UNDER must be less than OVER, or no value can pass");
    }
    if (parsed.Has("--D"))
        options.d = static_cast<int>(ParseWholeNumber(parsed.Values("--D")[0], "--D", kMinD, kMaxD));
    if (parsed.Has("--M"))
        options.m = static_cast<int>(ParseWholeNumber(parsed.Values("--M")[0], "--M", kMinM, kMaxM));
    return options;
}

bool ImportSeries(CKestrinDoc& doc, const std::string& path, const SeriesOptions& options)
{
    doc.OnNewDocument();
    if (!doc.ImportTextFile(path, options.under, options.over, options.filter))
        return false;
    if (options.d || options.m)
        doc.SetHParameters(options.m.value_or(doc.m_nM), options.d.value_or(doc.m_nD));
    if (doc.m_points.GetSize() == 0)
        std::fprintf(stderr, "%s: warning: no values were imported from \"%s\"%s\n", kProgramName,
                     DisplayText(path).c_str(), options.filter ? " (none passed the filter)" : "");
    return true;
}
