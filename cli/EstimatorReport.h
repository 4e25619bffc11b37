#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CHDataSet;
class CKestrinDoc;
class CJsonWriter;
struct CBootstrapResult;
struct CHPoint;

// The results of a fit, H, b and r, as text fields or as JSON fields.
void AppendFitFields(std::string& out, const CHDataSet& set);
void WriteFitFields(CJsonWriter& json, const CHDataSet& set);

// The fit of one sliding-window result: its H, r, b and n as JSON fields.
void WriteWindowResultFields(CJsonWriter& json, const CHPoint& result);

// The lag table of an estimator: for r = 1..M its L(r), log10 r and
// log10(L(r)/r), as a text table or as the JSON array "lags".
void AppendLagTable(std::string& out, const CHDataSet& set);
void WriteLagTable(CJsonWriter& json, const CHDataSet& set);

// The document's interval estimators, one row or JSON object each: upper
// bound (in the text, as its label), D, M, n, H, b, r. positions are the tab
// positions they were computed from: interval i ends at position i, the last
// at the largest X.
void AppendIntervalTable(std::string& out, const CKestrinDoc& doc);
void WriteIntervals(CJsonWriter& json, const CKestrinDoc& doc, const std::vector<std::int32_t>& positions,
                    const std::vector<CBootstrapResult>* bootstraps = nullptr);

// The JSON array "tabs": tab positions, ascending.
void WriteTabPositions(CJsonWriter& json, const std::vector<std::int32_t>& positions);
