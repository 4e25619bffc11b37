#include "ResultExport.h"
// outline
std::string FormatSlidingResultsText(const CHPointArray&, const CHPointArray&, double) { return {}; }
std::string FormatCorrelationPairsText(const CHPointArray&) { return {}; }
bool WriteTextExport(IUiServices&, const std::string&, const std::string&, const char*) { return false; }
bool ExportSlidingResults(const CKestrinDoc&, double, const std::string&) { return false; }
bool SaveCorrelationPairs(IUiServices&, const CHPointArray&, const std::string&) { return false; }
