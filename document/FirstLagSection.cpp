// The first lags of the fits.
//
// A document any of whose fits starts at a lag other than 1 carries one more
// section (framed as DocumentSections.h describes) after the saved tabs and
// the profile record, if any; a document whose fits all start at lag 1 has
// none, byte for byte as before. All numbers are little-endian.
//
//   tag       4 bytes   "KLAG"
//   version   int32     1
//   length    int32     bytes of the body that follows: 12 + 4 K
//   body:
//     own     int32     the document's first lag (new intervals get it)
//     global  int32     the global estimator's first lag
//     K       int32     number of intervals: as many as the saved tabs'
//                       section lists, or 0
//     lags    K int32   each interval's first lag, in X order
//
// On reading, K is checked against the body's length before anything is
// allocated; each lag must leave at least two lags to fit under its M.
#include "document/FirstLagSection.h"

#include <algorithm>

#include "core/OptimumM.h"
#include "document/DocumentSections.h"
#include "document/KestrinDoc.h"

bool CFirstLags::AllFromFirst() const
{
    return own == 1 && global == 1 && std::all_of(intervals.begin(), intervals.end(), [](std::int32_t r) { return r == 1; });
}

CFirstLags FirstLagsOf(const CKestrinDoc& doc, const std::vector<CTabInterval>& intervals)
{
    CFirstLags lags;
    lags.own = doc.m_nRMin;
    lags.global = doc.m_globalSet.GetRMin();
    for (const CTabInterval& interval : intervals)
        lags.intervals.push_back(interval.nRMin);
    return lags;
}

void StoreFirstLagSection(CArchive& ar, const CFirstLags& lags)
{
    const std::uint64_t length = 12 + 4 * static_cast<std::uint64_t>(lags.intervals.size());
    WriteSectionHeader(ar, kFirstLagSectionTag, kFirstLagSectionVersion, length,
                       "there are too many intervals to save their first lags");
    ar << lags.own << lags.global << static_cast<std::int32_t>(lags.intervals.size());
    for (const std::int32_t r : lags.intervals)
        ar << r;
}

CFirstLags ReadFirstLagSectionBody(CArchive& ar)
{
    CFirstLags lags;
    std::int32_t count = 0;
    ar >> lags.own >> lags.global >> count;
    ar.CheckCount(count, 4, "list of first lags");
    lags.intervals.resize(static_cast<std::size_t>(count));
    for (std::int32_t& r : lags.intervals)
        ar >> r;
    const auto below = [](std::int32_t r) { return r < kMinFirstLag; };
    if (below(lags.own) || below(lags.global) || std::any_of(lags.intervals.begin(), lags.intervals.end(), below))
        throw CArchiveException(CArchiveException::badValue, "a first lag is below 1");
    return lags;
}

std::optional<std::string> ApplyFirstLags(CKestrinDoc& doc, const CFirstLags& lags)
{
    const auto fits = [](std::int32_t r, int nM) { return r == 1 || IsUsableFirstLag(r, nM); };
    if (!fits(lags.own, doc.m_nM) || !fits(lags.global, doc.m_globalSet.GetM()))
        return "a first lag leaves fewer than two lags to fit";
    std::vector<CTabInterval>* intervals = doc.m_savedTabs ? &doc.m_savedTabs->intervals : nullptr;
    if (!lags.intervals.empty()) {
        if (!intervals || intervals->size() != lags.intervals.size())
            return "the first lags do not match the saved intervals";
        for (std::size_t i = 0; i < lags.intervals.size(); ++i)
            if (!fits(lags.intervals[i], (*intervals)[i].nM))
                return "an interval's first lag leaves fewer than two lags to fit";
    }
    doc.m_nRMin = lags.own;
    const int autoCompute = doc.m_globalSet.m_bAutoCompute;
    doc.m_globalSet.m_bAutoCompute = 0;
    doc.m_globalSet.SetRMin(lags.global);
    doc.m_globalSet.m_bAutoCompute = autoCompute;
    for (std::size_t i = 0; i < lags.intervals.size(); ++i)
        (*intervals)[i].nRMin = lags.intervals[i];
    return std::nullopt;
}
