#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Archive.h"
#include "AutoTabs.h"
#include "KestrinDoc.h"

// The optional section after the global estimator that holds the ruler's
// tabs and each interval's D and M (its layout is described where it is
// written, in TabSection.cpp).

// The most tabs a document saves and reads back: as many as Auto-Tab places
// at once. A section with more is skipped as damaged; saving more fails.
inline constexpr std::int32_t kMaxSavedTabs = static_cast<std::int32_t>(kMaxGeneratedTabs);

// Writes the section; the caller writes it only when there are tabs.
void StoreTabSection(CArchive& ar, const std::vector<double>& values, const std::vector<CTabInterval>& intervals);

// Reads whatever follows the global estimator. Never throws: a section that
// is cut off, damaged or of an unknown version, and bytes that are no
// section at all, are skipped, each with a sentence in notes. Returns the
// tabs when a whole, sound section was read.
std::optional<CSavedTabs> LoadTabSection(CArchive& ar, std::vector<std::string>& notes);
