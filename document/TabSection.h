#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Archive.h"
#include "KestrinDoc.h"

// The optional section after the global estimator that holds the ruler's
// tabs and each interval's D and M (its layout is described where it is
// written, in TabSection.cpp).

// Writes the section; the caller writes it only when there are tabs.
void StoreTabSection(CArchive& ar, const std::vector<double>& values, const std::vector<CTabInterval>& intervals);

// Reads whatever follows the global estimator. Never throws: a section that
// is cut off, damaged or of an unknown version, and bytes that are no
// section at all, are skipped, each with a sentence in notes. Returns the
// tabs when a whole, sound section was read.
std::optional<CSavedTabs> LoadTabSection(CArchive& ar, std::vector<std::string>& notes);
