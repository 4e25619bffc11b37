#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Archive.h"
#include "document/AutoTabs.h"
#include "document/KestrinDoc.h"

// The optional section after the global estimator that holds the ruler's
// tabs and each interval's D and M (its layout is described where it is
// written, in TabSection.cpp).

constexpr char kTabSectionTag[5] = "KTAB";
constexpr std::int32_t kTabSectionVersion = 1;
// The most tabs a document saves and reads back: as many as Auto-Tab places
// at once. A section with more is skipped as damaged; saving more fails.
inline constexpr std::int32_t kMaxSavedTabs = static_cast<std::int32_t>(kMaxGeneratedTabs);

// Writes the section; the caller writes it only when there are tabs.
void StoreTabSection(CArchive& ar, const std::vector<double>& values, const std::vector<CTabInterval>& intervals);

// Reads the section's body from an archive over exactly its bytes; throws
// CArchiveException naming what is wrong.
CSavedTabs ReadTabSectionBody(CArchive& ar);
