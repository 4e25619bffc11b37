#include "document/KestrinDoc.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "document/AutoTabs.h"
#include "core/Format.h"
#include "platform/StatusOperation.h"

CPlotExtents CKestrinDoc::GetPlotExtents() const
{
    CPlotExtents extents;
    UpdatePlotExtents(m_points, m_bHSeries != 0, extents);
    return extents;
}

void CKestrinDoc::IntervalParametersChanged()
{
    if (!m_tabValues.empty())
        SetModifiedFlag();
}

bool CKestrinDoc::ApplyIntervalSetting(CHDataSet& set, CEstimatorSetting setting)
{
    const bool changed = !(set.GetSetting() == setting);
    set.SetD(setting.nD);
    set.SetM(setting.nM);
    set.SetRMin(setting.nRMin);
    set.Compute();
    return changed;
}

bool CKestrinDoc::SetIntervalSetting(std::size_t index, CEstimatorSetting setting)
{
    if (index >= m_tabSets.size())
        return false;
    if (ApplyIntervalSetting(*m_tabSets[index], setting))
        IntervalParametersChanged();
    UpdateAllViews(nullptr, kHintIntervalSetting);
    return true;
}

bool CKestrinDoc::SetIntervalSettings(const std::vector<CEstimatorSetting>& settings)
{
    if (settings.size() != m_tabSets.size())
        return false;
    bool changed = false;
    for (std::size_t i = 0; i < settings.size(); ++i)
        changed = ApplyIntervalSetting(*m_tabSets[i], settings[i]) || changed;
    if (changed)
        IntervalParametersChanged();
    UpdateAllViews(nullptr, kHintIntervalSetting);
    return true;
}

void CKestrinDoc::SetProfileRecord(std::optional<CProfileRecord> record)
{
    const auto same = [](const CProfileRecord& a, const CProfileRecord& b) {
        return a.source == b.source && std::bit_cast<std::uint64_t>(a.mean) == std::bit_cast<std::uint64_t>(b.mean);
    };
    if (record.has_value() == m_profile.has_value() && (!record || same(*record, *m_profile)))
        return;
    m_profile = std::move(record);
    SetModifiedFlag();
    UpdateAllViews(nullptr);
}

std::vector<std::int32_t> CKestrinDoc::TabPositions(const std::vector<double>& values)
{
    std::vector<std::int32_t> positions;
    positions.reserve(values.size());
    for (const double x : values)
        positions.push_back(TruncateToTabPosition(x));
    std::sort(positions.begin(), positions.end());
    return positions;
}

std::vector<std::int32_t> CKestrinDoc::SetTabs(const std::vector<double>& values,
                                               const std::vector<CTabInterval>* intervals)
{
    const std::vector<std::int32_t> positions = TabPositions(values);
    // The tabs are saved with the document: a change is a change to save.
    const bool changed = values.size() != m_tabValues.size() ||
                         !std::equal(values.begin(), values.end(), m_tabValues.begin(),
                                     [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); });
    if (changed) {
        m_tabValues = values;
        SetModifiedFlag();
    }
    CalculateTabH(positions, intervals);
    UpdateAllViews(nullptr, kHintIntervals);
    return positions;
}

std::optional<CSavedTabs> CKestrinDoc::TakeSavedTabs()
{
    std::optional<CSavedTabs> saved = std::move(m_savedTabs);
    m_savedTabs.reset();
    return saved;
}

bool CKestrinDoc::CalculateSavedTabH()
{
    const std::optional<CSavedTabs> saved = TakeSavedTabs();
    if (!saved)
        return false;
    SetTabs(saved->values, &saved->intervals);
    return true;
}

void CKestrinDoc::CalculateTabH(const std::vector<std::int32_t>& tabs, const std::vector<CTabInterval>* intervals)
{
    CStatusOperation status(Ui(), "Calculating H...");
    m_tabSets.clear();
    const int count = m_points.GetSize();
    const std::size_t tabCount = tabs.size();
    if (count <= 0 || tabCount == 0)
        return;

    const CPlotExtents extents = GetPlotExtents();
    const double lowest = extents.m_dXMin;
    const double highest = extents.m_dXMax;
    std::vector<double> bounds(tabs.begin(), tabs.end());
    // Saved parameters apply only when they describe exactly these intervals.
    if (intervals && intervals->size() != tabCount + 1)
        intervals = nullptr;

    std::vector<std::unique_ptr<CHDataSet>> sets;
    sets.reserve(tabCount + 1);
    for (std::size_t i = 0; i <= tabCount; ++i) {
        const CEstimatorSetting setting =
            intervals ? CEstimatorSetting{.nD = (*intervals)[i].nD, .nM = (*intervals)[i].nM, .nRMin = (*intervals)[i].nRMin}
                      : CEstimatorSetting{.nD = m_nD, .nM = m_nM, .nRMin = m_nRMin};
        auto set = std::make_unique<CHDataSet>(setting);
        set->m_bAutoCompute = 0;
        set->m_strLabel = FormatFixed(i < tabCount ? bounds[i] : highest, 6);
        sets.push_back(std::move(set));
    }

    // One pass over the series: interval i is [bound i-1, bound i), with the
    // smallest X below the first and the largest X above the last. A point
    // lands in the interval whose tabs enclose it; ties between equal tabs
    // leave the earlier intervals empty, as the half-open ranges require.
    std::vector<CDoubleArray*> values;
    for (auto& set : sets)
        values.push_back(&set->Values());
    const double* xs = m_points.Xs();
    const double* ys = m_points.Ys();
    for (int k = 0; k < m_points.GetSize(); ++k) {
        const double x = xs[k];
        const std::size_t i = static_cast<std::size_t>(
            std::upper_bound(bounds.begin(), bounds.end(), x) - bounds.begin());
        if (i == 0 && !(lowest <= x))
            continue;
        if (i == tabCount && !(x < highest))
            continue;
        values[i]->Add(ys[k]);
    }

    for (auto& set : sets)
        set->Compute();
    m_tabSets = std::move(sets);
}

void CKestrinDoc::RecalculateH()
{
    CStatusOperation status(Ui(), "Recalculating H...");
    m_globalSet.Reset({.nD = m_nD, .nM = m_nM, .nRMin = m_nRMin});
    m_globalSet.m_bAutoCompute = 0;
    // The estimator reads the series' own values.
    m_globalSet.ShareValues(m_points.SharedYs());
    m_globalSet.Compute();
}

void CKestrinDoc::TakeSeries(std::vector<double> positions, std::vector<double> values)
{
    auto ys = std::make_shared<CDoubleArray>();
    ys->Storage() = std::move(values);
    m_points.Assign(std::move(positions), ys);
    m_globalSet.ShareValues(std::move(ys));
}

void CKestrinDoc::TakeSlidingWindows(CHPointArray windows, std::int32_t spacing)
{
    m_nSpacing = spacing;
    m_windows = std::move(windows);
    m_band.reset();
    SetModifiedFlag(true);
}

void CKestrinDoc::SetHParameters(CEstimatorSetting setting)
{
    m_nD = setting.nD;
    m_nM = setting.nM;
    m_nRMin = setting.nRMin;
    m_globalSet.SetD(setting.nD);
    m_globalSet.SetM(setting.nM);
    SetModifiedFlag();
    RecalculateH();
    UpdateAllViews(nullptr, 0, nullptr);
}

void CKestrinDoc::DeleteContents()
{
    m_globalSet.Reset(kNewEstimatorSetting);
    CDocument::DeleteContents();
    m_tabSets.clear();
    m_bHasData = 0;
    m_strXField.clear();
    m_strYField.clear();
    m_strTable.clear();
    m_strDatabase.clear();
    m_tabValues.clear();
    m_savedTabs.reset();
    m_profile.reset();
    m_points.RemoveAll();
    m_slopes.RemoveAll();
    m_windows.RemoveAll();
    m_band.reset();
    m_nD = kNewDocumentD;
    m_nM = kNewDocumentM;
    m_nRMin = 1;
}

void CKestrinDoc::TakeImportedName(const std::string& name)
{
    SetPathName(std::string());
    SetTitle(name);
}

void CKestrinDoc::DeleteContentsForImport()
{
    // Tabs read from a file that no ruler has taken are not shown anywhere.
    std::vector<double> shownTabs = m_savedTabs ? std::vector<double>() : std::move(m_tabValues);
    DeleteContents();
    m_tabValues = std::move(shownTabs);
}

bool CKestrinDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}
