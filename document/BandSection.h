#pragma once

#include <cstdint>

#include "platform/Archive.h"
#include "document/IntervalBand.h"

// The optional section that keeps a document's interval band (its layout is
// described where it is written, in BandSection.cpp). It is the last section
// a document writes, and only a document with a band writes it.

constexpr char kBandSectionTag[5] = "KBND";
constexpr std::int32_t kBandSectionVersion = 1;

void StoreBandSection(CArchive& ar, const CIntervalBand& band);

// Reads the section's body from an archive over exactly its bytes; throws
// CArchiveException naming what is wrong.
CIntervalBand ReadBandSectionBody(CArchive& ar);
