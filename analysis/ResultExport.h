#pragma once

#include <string>

#include "core/GrowArray.h"

class CKestrinDoc;
struct CIntervalBand;
class IUiServices;

// The sliding results as text: the header "X\tY\tH\tr\tb" and one line
// "%.4f,%.4f,%.4f,%.4f,%.4f" per result (X = m_dX + xMin, Y = the m_dY of
// the series point with the result's index, H, r, b). Lines end in CR LF.
// A result without a series point of its index (possible in a document read
// from a file) leaves its Y field empty. With an interval band, the header
// gains "\tH corrected\tlow\thigh" (and "\t(the band's model check
// failed)" when it did) and every line its window's three values, empty
// when not reached; an end at an edge of the searched range is that edge.
std::string FormatSlidingResultsText(const CHPointArray& windows, const CSeriesArray& series, double xMin,
                                     const CIntervalBand* band = nullptr);

// Correlation pairs as text: "H\tSlope" and one "%.4f\t%.4f" line per pair
// (its m_dX, then m_dY). Lines end in CR LF.
std::string FormatCorrelationPairsText(const CHPointArray& pairs);

// Writes text to path through a temporary file renamed over it only when
// complete, with the status text while it writes ("Ready" after). On
// failure an existing file is left as it was, the user is told why in a
// message box, and false is returned.
bool WriteTextExport(IUiServices& ui, const std::string& path, const std::string& text, const char* statusText);

// The workbench's two exports: "Saving results..." and "Saving data...".
bool ExportSlidingResults(const CKestrinDoc& doc, double xMin, const std::string& path);
bool SaveCorrelationPairs(IUiServices& ui, const CHPointArray& pairs, const std::string& path);
