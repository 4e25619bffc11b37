#include "analysis/ResultExport.h"

#include <cstdint>

#include "core/Format.h"
#include "document/KestrinDoc.h"
#include "platform/SafeFile.h"
#include "platform/StatusOperation.h"
#include "platform/TextEncoding.h"
#include "platform/UiServices.h"

namespace {

// Both files were written in text mode on their first platform: every line
// ends in a carriage return and a line feed.
constexpr const char* kLineEnd = "\r\n";

void AppendFixed(std::string& out, double value)
{
    out += FormatFixed(value, 4);
}

} // namespace

std::string FormatSlidingResultsText(const CHPointArray& windows, const CSeriesArray& series, double xMin,
                                     const CIntervalBand* band)
{
    std::string out = "X\tY\tH\tr\tb";
    if (band) {
        out += "\tH corrected\tlow\thigh";
        if (!band->check.passed)
            out += "\t(the band's model check failed)";
    }
    out += kLineEnd;
    out.reserve(out.size() + static_cast<std::size_t>(windows.GetSize()) * 48);
    const int points = series.GetSize();
    for (int i = 0; i < windows.GetSize(); ++i) {
        const CHPoint& w = windows[i];
        AppendFixed(out, w.m_dX + xMin);
        out += ',';
        // The series value of the same index, not the one at the plot
        // position. A document read from a file may hold more results than
        // points: such a line has no Y.
        if (i < points)
            AppendFixed(out, series[i].m_dY);
        out += ',';
        AppendFixed(out, w.m_dY);
        out += ',';
        AppendFixed(out, w.m_dR);
        out += ',';
        AppendFixed(out, w.m_dB);
        if (band && static_cast<std::size_t>(i) < band->windows.size()) {
            // A value not reached leaves its field empty.
            const CBandWindow& v = band->windows[static_cast<std::size_t>(i)];
            for (const double value : {v.corrected, v.low, v.high}) {
                out += ',';
                if (v.Reached())
                    AppendFixed(out, value);
            }
        }
        out += kLineEnd;
    }
    return out;
}

std::string FormatCorrelationPairsText(const CHPointArray& pairs)
{
    std::string out = "H\tSlope";
    out += kLineEnd;
    out.reserve(out.size() + static_cast<std::size_t>(pairs.GetSize()) * 20);
    for (const CHPoint& p : pairs) {
        AppendFixed(out, p.m_dX);
        out += '\t';
        AppendFixed(out, p.m_dY);
        out += kLineEnd;
    }
    return out;
}

bool WriteTextExport(IUiServices& ui, const std::string& path, const std::string& text, const char* statusText)
{
    std::string error;
    bool ok;
    {
        CStatusOperation status(ui, statusText);
        ok = WriteFileSafely(
            path,
            [&text](CByteSink& sink) {
                sink.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
            },
            error);
    }
    // Told once the status is back to "Ready" and the wait cursor gone.
    if (!ok)
        ui.MessageBox("Unable to write \"" + DisplayText(path) + "\": " + error + ". No file has been changed.", MsgButtons::ok,
                      MsgIcon::error);
    return ok;
}

bool ExportSlidingResults(const CKestrinDoc& doc, double xMin, const std::string& path)
{
    return WriteTextExport(doc.Ui(), path,
                           FormatSlidingResultsText(doc.m_windows, doc.m_points, xMin, doc.m_band ? &*doc.m_band : nullptr),
                           "Saving results...");
}

bool SaveCorrelationPairs(IUiServices& ui, const CHPointArray& pairs, const std::string& path)
{
    return WriteTextExport(ui, path, FormatCorrelationPairsText(pairs), "Saving data...");
}
