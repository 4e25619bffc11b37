#pragma once

#include <optional>
#include <string>

class CKestrinDoc;

// Fills target, a new and empty document, with the H curve of source's
// sliding results: one point per result (a copy with m_dX + xMin), H series
// flag 1, fields "H" and "Series", the source's database name and D, and M
// the integer square root of the number of results, at least 2 (BestIntervalM).
// Then marks it
// modified, recalculates its global H and updates its views.
void BuildHDataDocument(const CKestrinDoc& source, double xMin, CKestrinDoc& target);

// Fills target, a new and empty document, with copies of the source points
// whose X truncated toward zero (TruncateToKey: NaN is 0, values beyond the
// 64-bit range the nearest limit) lies in [from, to], compared as doubles,
// and the source's four names, has-data flag, D and M. Then marks it
// modified, recalculates and updates.
void BuildExtractedDocument(const CKestrinDoc& source, double from, double to, CKestrinDoc& target);

// Fills target, a new and empty document, with the profile of source's
// series: each point keeps its X (and the rest of its record) and its Y
// becomes the running sum of the departures of the Y values from their mean,
// summed in series order. The source's four names, has-data flag, D and M
// come along, and the document records that it is the profile of the
// source (its title and the mean removed). Then marks it modified,
// recalculates and updates.
void BuildProfileDocument(const CKestrinDoc& source, CKestrinDoc& target);

// Why the profile of source's series cannot be made, or nothing when it can:
// the sum of its values or the running sum of their departures leaves the
// range of a double while every value is finite (the profile would hold
// infinities that look like data).
std::optional<std::string> CheckProfile(const CKestrinDoc& source);

// The Select Range dialog's refusals, in its order, for a range chosen over
// a series from minimum to maximum; nothing when the range is accepted
// (the bounds themselves and From equal to To are). A From or To that is
// not a number is refused as below the minimum or above the maximum.
std::optional<std::string> CheckExtractRange(double from, double to, double minimum, double maximum);
