#include "analysis/NewDocuments.h"

#include <cmath>
#include <string>
#include <vector>

#include "document/KestrinDoc.h"
#include "analysis/MatchPairs.h"
#include "core/OptimumM.h"
#include "analysis/SeriesProfile.h"

namespace {

// What both new documents do once filled: unsaved, their global H computed
// from their own series, and their views told.
void FinishNewDocument(CKestrinDoc& target)
{
    target.SetModifiedFlag();
    target.RecalculateH();
    target.UpdateAllViews(nullptr);
}

// The extracted and the profile document: the source's names, has-data
// flag and parameters, then finished as every new document is.
void FinishDerivedDocument(const CKestrinDoc& source, CKestrinDoc& target)
{
    target.m_strDatabase = source.m_strDatabase;
    target.m_strXField = source.m_strXField;
    target.m_strYField = source.m_strYField;
    target.m_strTable = source.m_strTable;
    target.m_bHasData = source.m_bHasData;
    target.m_nD = source.m_nD;
    target.m_nM = source.m_nM;
    target.m_nRMin = source.m_nRMin;
    FinishNewDocument(target);
}

} // namespace

void BuildHDataDocument(const CKestrinDoc& source, double xMin, CKestrinDoc& target)
{
    const CHPointArray& windows = source.m_windows;
    const int count = windows.GetSize();
    target.m_points.Reserve(static_cast<std::size_t>(target.m_points.GetSize()) + static_cast<std::size_t>(count));
    for (const CHPoint& w : windows) {
        // The result's plot position moved onto the series' X axis, and its
        // Y, the window's H (a series keeps no count, b or r).
        CSeriesPoint p;
        p.m_dY = w.m_dY;
        p.m_dX = w.m_dX + xMin;
        target.m_points.Add(p);
    }
    target.m_bHSeries = 1;
    target.m_strDatabase = source.m_strDatabase;
    // Moved in whole: assigning the literals trips a false -Wrestrict
    // warning in GCC 12's string code.
    target.m_strXField = std::string("H");
    target.m_strYField = std::string("Series");
    target.m_bHasData = 1;
    target.m_nD = source.m_nD;
    target.m_nM = BestIntervalM(count);
    FinishNewDocument(target);
}

void BuildExtractedDocument(const CKestrinDoc& source, double from, double to, CKestrinDoc& target)
{
    for (const CSeriesPoint& p : source.m_points) {
        // The whole part of X, compared with the range as a real number.
        const double k = static_cast<double>(TruncateToKey(p.m_dX));
        if (from <= k && k <= to)
            target.m_points.Add(p);
    }
    FinishDerivedDocument(source, target);
}

namespace {

// The mean of the series' Y, summed in series order, as the profile takes it.
double MeanY(const CSeriesArray& points)
{
    double total = 0.0;
    for (const CSeriesPoint& p : points)
        total += p.m_dY;
    return points.IsEmpty() ? 0.0 : total / points.GetSize();
}

} // namespace

std::optional<std::string> CheckProfile(const CKestrinDoc& source)
{
    const CSeriesArray& points = source.m_points;
    for (const CSeriesPoint& p : points)
        if (!std::isfinite(p.m_dY))
            return std::nullopt; // the import has said so already
    const double mean = MeanY(points);
    double sum = 0.0;
    bool finite = std::isfinite(mean);
    for (const CSeriesPoint& p : points) {
        sum += p.m_dY - mean;
        finite = finite && std::isfinite(sum);
    }
    if (finite)
        return std::nullopt;
    return "the running sum exceeds the range of a number";
}

void BuildProfileDocument(const CKestrinDoc& source, CKestrinDoc& target)
{
    const CSeriesArray& points = source.m_points;
    std::vector<double> profile;
    profile.reserve(static_cast<std::size_t>(points.GetSize()));
    for (const CSeriesPoint& p : points)
        profile.push_back(p.m_dY);
    // The mean the profile removes (as ProfileInPlace computes it), recorded.
    const double mean = MeanY(points);
    ProfileInPlace(profile.data(), profile.size());
    target.m_points.Reserve(static_cast<std::size_t>(target.m_points.GetSize()) + static_cast<std::size_t>(points.GetSize()));
    std::size_t i = 0;
    for (const CSeriesPoint& p : points) {
        CSeriesPoint q = p;
        q.m_dY = profile[i++];
        target.m_points.Add(q);
    }
    target.SetProfileRecord(CProfileRecord{source.GetTitle(), mean});
    FinishDerivedDocument(source, target);
}

std::optional<std::string> CheckExtractRange(double from, double to, double minimum, double maximum)
{
    if (from > to)
        return "The From value must not be greater than the To value.";
    // Written so that a From or To that is not a number is refused too.
    if (!(from >= minimum))
        return "The From value must be greater than the Min value.";
    if (!(to <= maximum))
        return "The To value must be less than the Max value.";
    return std::nullopt;
}
