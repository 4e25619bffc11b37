#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Archive.h"

class CKestrinDoc;
struct CTabInterval;

// The optional section that keeps the first lag of the fits when one is not
// 1 (its layout is described where it is written, in FirstLagSection.cpp).

constexpr char kFirstLagSectionTag[5] = "KLAG";
constexpr std::int32_t kFirstLagSectionVersion = 1;

// The first lags a document keeps: its own (new intervals'), its global
// estimator's and each interval's, in X order (none without intervals).
struct CFirstLags
{
    std::int32_t own = 1;
    std::int32_t global = 1;
    std::vector<std::int32_t> intervals;

    // Whether every fit starts at lag 1: then the section is not written.
    bool AllFromFirst() const;
};

// The first lags of the document and of the intervals it saves.
CFirstLags FirstLagsOf(const CKestrinDoc& doc, const std::vector<CTabInterval>& intervals);

// Writes the section; the caller writes it only when some lag is not 1.
void StoreFirstLagSection(CArchive& ar, const CFirstLags& lags);

// Reads the section's body from an archive over exactly its bytes; throws
// CArchiveException naming what is wrong (a first lag below 1 among them).
CFirstLags ReadFirstLagSectionBody(CArchive& ar);

// Gives the document the first lags read (the estimators' values are those
// computed with them, so nothing is computed again). Nothing changes, and
// the reason is returned, when a lag leaves fewer than two lags to fit under
// its M or the intervals do not match the saved tabs.
std::optional<std::string> ApplyFirstLags(CKestrinDoc& doc, const CFirstLags& lags);
