#pragma once

#include <string>
#include <vector>

#include "analysis/Bootstrap.h"

// The bootstrap's words, shared by the command line and the workbench.

// A value to the digits its Monte-Carlo error supports (1 to 3 decimals),
// or "≥ 0.99" / "≤ 0.01" for a bound at the searched range's edge.
std::string BootstrapValueText(double value, EBootstrapBound bound, double error);

// "H corrected 0.712, 95 % interval 0.68 to 0.75", or "the observed H
// 1.234567 cannot be reached by any H in [0.008, 0.992]" (the range
// searched) when no replicate at the range's edge reaches it.
std::string BootstrapSummaryText(const CBootstrapResult& result);

// "fractional Brownian motion" and so on; for the record the result keeps.
std::string BootstrapModelText(const CBootstrapResult& result);

// "±0.002 (H corrected), ±0.011 (low), ±0.009 (high)": the Monte-Carlo
// standard errors, with "; use more replicates" when they exceed a quarter
// of the interval's width. Empty when nothing was reached.
std::string BootstrapPrecisionText(const CBootstrapResult& result);

// "from LABEL: the 95 % intervals do not overlap": said of a result whose
// interval shares no point with that of the result labelled LABEL.
std::string IntervalsApartText(const CBootstrapResult& result, const std::string& otherLabel);

// The model check in one line: "passed: the settings agree (spread 0.031,
// threshold 0.062, p 0.41); corrected H: D 4 M 3 0.712, D 1 M 10 0.70,
// D 6 M 64 0.73" or "failed: ...".
std::string ModelCheckText(const CModelCheck& check);

// Sentences the user must read, in order: the model check's failure ("The
// data are not like fractional Brownian motion (the settings disagree: ...);
// the interval below assumes they are."), that the model check's settings
// fit from lag 1 when the estimate fits from a later lag, and what an end
// or the corrected H at the searched range's edge means.
std::vector<std::string> BootstrapNotes(const CBootstrapResult& result);
