// The saved tabs.
//
// A document with tabs carries one more section (framed as
// DocumentSections.h describes) after item 21 of the base layout (the global
// estimator's values); a document without tabs ends there, byte for byte as
// before, and a reader that stops there reads the same document from
// either. All numbers are little-endian.
//
//   tag       4 bytes   "KTAB"
//   version   int32     1
//   length    int32     bytes of the body that follows: 8 + 8 T + 8 K
//   body:
//     T       int32     number of tabs
//     values  T doubles each tab's X value, in the ruler's order
//     K       int32     number of intervals: T + 1, or 0 when none was
//                       computed (a series without points)
//     params  K pairs   each interval's D then M (int32 each), in X order
//
// On reading, every count is checked against the body's length, and the
// length against the bytes left in the file, before anything is allocated.
#include "document/TabSection.h"

#include <cmath>

#include "document/DocumentSections.h"
#include "core/OptimumM.h"

void StoreTabSection(CArchive& ar, const std::vector<double>& values, const std::vector<CTabInterval>& intervals)
{
    if (values.size() > static_cast<std::size_t>(kMaxSavedTabs))
        throw CArchiveException(CArchiveException::writeFault,
                                "the document has " + std::to_string(values.size()) + " tabs; at most " +
                                    std::to_string(kMaxSavedTabs) + " can be saved: remove some tabs");
    const std::uint64_t length = 8 + 8 * static_cast<std::uint64_t>(values.size()) + 8 * intervals.size();
    WriteSectionHeader(ar, kTabSectionTag, kTabSectionVersion, length, "there are too many tabs to save");
    ar << static_cast<std::int32_t>(values.size());
    ar.WriteDoubles(values.data(), values.size());
    ar << static_cast<std::int32_t>(intervals.size());
    for (const CTabInterval& interval : intervals)
        ar << interval.nD << interval.nM;
}

CSavedTabs ReadTabSectionBody(CArchive& ar)
{
    std::int32_t count = 0;
    ar >> count;
    ar.CheckCount(count, 8, "list of tabs");
    if (count > kMaxSavedTabs)
        throw CArchiveException(CArchiveException::badCount, "they are " + std::to_string(count) +
                                                                 " tabs, more than the " +
                                                                 std::to_string(kMaxSavedTabs) + " a document keeps");
    CSavedTabs tabs;
    tabs.values.resize(static_cast<std::size_t>(count));
    ar.ReadDoubles(tabs.values.data(), tabs.values.size());
    for (const double x : tabs.values)
        if (!std::isfinite(x))
            throw CArchiveException(CArchiveException::badValue, "a tab's value is not a finite number");
    ar >> count;
    ar.CheckCount(count, 8, "list of intervals");
    if (count != 0 && static_cast<std::size_t>(count) != tabs.values.size() + 1)
        throw CArchiveException(CArchiveException::badCount, "the number of intervals does not match the tabs");
    tabs.intervals.resize(static_cast<std::size_t>(count));
    for (CTabInterval& interval : tabs.intervals) {
        ar >> interval.nD >> interval.nM;
        if (!IsMeasuringEmbedding(interval.nD))
            throw CArchiveException(CArchiveException::badValue,
                                    "an interval's D of " + std::to_string(interval.nD) + " is outside " +
                                        std::to_string(kMinEmbeddingD) + " to " + std::to_string(kMaxEmbeddingD));
        if (!IsMeasuringLagCount(interval.nM))
            throw CArchiveException(CArchiveException::badValue,
                                    "an interval's M of " + std::to_string(interval.nM) + " is outside " +
                                        std::to_string(kMinLagCount) + " to " + std::to_string(kMaxLagCount));
    }
    return tabs;
}
