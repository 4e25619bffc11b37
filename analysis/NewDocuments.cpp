#include "NewDocuments.h"
// outline
void BuildHDataDocument(const CKestrinDoc&, double, CKestrinDoc&) {}
void BuildExtractedDocument(const CKestrinDoc&, double, double, CKestrinDoc&) {}
std::optional<std::string> CheckExtractRange(double, double, double, double) { return std::nullopt; }
