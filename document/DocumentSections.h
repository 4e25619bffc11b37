#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Archive.h"
#include "document/FirstLagSection.h"
#include "document/IntervalBand.h"
#include "document/KestrinDoc.h"

// The optional sections after the base layout of a document file (after the
// global estimator's values). Each is framed the same way, little-endian:
//
//   tag       4 bytes   which section
//   version   int32     its layout's version
//   length    int32     bytes of the body that follows
//
// A document writes only the sections it has, in this order: the saved tabs
// ("KTAB", TabSection.cpp), then the profile record ("KPRF",
// ProfileSection.cpp), then the first lags of the fits when one is not 1
// ("KLAG", FirstLagSection.cpp), then the interval band ("KBND",
// BandSection.cpp). A document with none of them ends with the base layout.

void WriteSectionHeader(CArchive& ar, const char (&tag)[5], std::int32_t version, std::uint64_t length,
                        const char* tooLarge);

struct CDocumentSections
{
    std::optional<CSavedTabs> tabs;
    std::optional<CProfileRecord> profile;
    std::optional<CFirstLags> firstLags;
    // The file has a first-lag section that could not be read (damaged, cut
    // off or of an unknown version): estimates saved with it were fitted from
    // lags that are now unknown.
    bool firstLagsUnread = false;
    std::optional<CIntervalBand> band;
};

// Reads whatever follows the base layout. Never throws: a section that is
// cut off, damaged or of an unknown version, and bytes that are no section
// at all, are skipped, each with a sentence in notes. A damaged section or
// one of an unknown version whose length is sound is passed over, and the
// sections after it are still read.
CDocumentSections LoadDocumentSections(CArchive& ar, std::vector<std::string>& notes);
