#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Document.h"
#include "GrowArray.h"
#include "HDataSet.h"
#include "PlotExtents.h"

// The document: one data series with everything computed from it. Its
// fields are public; views, dialogs and analyses read and write them
// directly.
class CKestrinDoc : public CDocument
{
public:
    explicit CKestrinDoc(IUiServices& ui) : CDocument(ui) {}
    ~CKestrinDoc() override = default;

    // Builds one estimator per interval between the tabs (ascending whole
    // numbers): [smallest X, t1), [t1, t2), ..., [tT, largest X).
    void CalculateTabH(const std::vector<std::int32_t>& tabs);
    // Rebuilds the global estimator from the series with m_nD and m_nM.
    void RecalculateH();
    // Note the order: M first.
    void SetHParameters(int nM, int nD);
    // Replaces the series with one number per line of a text file, optionally
    // keeping only values strictly between nUnder and nOver. Returns false,
    // leaving the document as it was, when the user keeps unsaved changes or
    // the file cannot be read.
    bool ImportTextFile(const std::string& path, int nUnder, int nOver, bool bFilter);

    void Serialize(CArchive& ar) override;
    void DeleteContents() override;
    bool OnNewDocument() override;

    // The extremes of the series' X and Y, as the view shows them.
    CPlotExtents GetPlotExtents() const;

    std::int32_t m_nSpacing = 1;
    int m_bHSeries = 0;
    CHDataSet m_globalSet;
    std::vector<std::unique_ptr<CHDataSet>> m_tabSets;
    CHPointArray m_windows;
    CHPointArray m_points;
    CHPointArray m_slopes;
    std::int32_t m_nD = 4;
    std::int32_t m_nM = 3;
    int m_bHasData = 0;
    std::string m_strXField;
    std::string m_strYField;
    std::string m_strTable;
    std::string m_strDatabase;
};
