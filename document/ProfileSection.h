#pragma once

#include <cstdint>
#include <vector>

#include "platform/Archive.h"
#include "document/KestrinDoc.h"

// The optional section that records how Profile made a document (its layout
// is described where it is written, in ProfileSection.cpp).

constexpr char kProfileSectionTag[5] = "KPRF";
constexpr std::int32_t kProfileSectionVersion = 1;

// Writes the section; the caller writes it only for a document Profile made.
void StoreProfileSection(CArchive& ar, const CProfileRecord& record);

// Reads the section's body from an archive over exactly its bytes; throws
// CArchiveException naming what is wrong.
CProfileRecord ReadProfileSectionBody(CArchive& ar);
