#pragma once

#include <string>

class CHDataSet;
class CJsonWriter;
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
