#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/DatabaseOpener.h"
#include "document/IntervalBand.h"
#include "platform/Document.h"
#include "core/GrowArray.h"
#include "core/HDataSet.h"
#include "core/PlotExtents.h"

// D, M and the first lag of the fit of one interval estimator, as a
// document file keeps them (the first lag in a section of its own).
struct CTabInterval
{
    std::int32_t nD = 4;
    std::int32_t nM = 3;
    std::int32_t nRMin = 1;
};

// Tabs read from a document file: their X values in the ruler's order and
// each interval's D and M in X order (none when the file held none).
struct CSavedTabs
{
    std::vector<double> values;
    std::vector<CTabInterval> intervals;
};

// How Profile made a document: the title of the document whose series it
// is the profile of, and the mean removed from that series' Y values.
struct CProfileRecord
{
    std::string source;
    double mean = 0.0;
};

// What an empty document holds: its own D and M (those new intervals are
// given) and its global estimator's. The reader puts them in place of a D or
// M that measures nothing.
inline constexpr int kNewDocumentD = 4;
inline constexpr int kNewDocumentM = 3;
inline constexpr CEstimatorSetting kNewEstimatorSetting{.nD = 4, .nM = 5};

// The document: one data series with everything computed from it. Its
// fields are public; views, dialogs and analyses read and write them
// directly, but for the intervals (m_tabValues, m_tabSets and each
// interval's estimator): those they only read, and change them through the
// document's own functions, which tell the views.
class CKestrinDoc : public CDocument
{
public:
    explicit CKestrinDoc(IUiServices& ui) : CDocument(ui) {}
    ~CKestrinDoc() override = default;

    // The hint of the views' update after the interval estimators were
    // rebuilt: the series and its extents are as they were.
    static constexpr long kHintIntervals = 1;
    // The hint of the views' update after one interval's D and M changed:
    // the intervals, their labels and the series are as they were.
    static constexpr long kHintIntervalSetting = 2;

    // Builds one estimator per interval between the tabs (ascending whole
    // numbers): [smallest X, t1), [t1, t2), ..., [tT, largest X).
    // With intervals holding one D and M per interval, those are used instead
    // of m_nD and m_nM.
    void CalculateTabH(const std::vector<std::int32_t>& tabs, const std::vector<CTabInterval>* intervals = nullptr);
    // Takes the ruler's tabs (their X values in the ruler's order), keeps them
    // for saving (marking the document modified when they changed) and builds
    // the interval estimators between their positions, with intervals as for
    // CalculateTabH, then tells the views (kHintIntervals). Returns the tab
    // positions, ascending.
    std::vector<std::int32_t> SetTabs(const std::vector<double>& values,
                                      const std::vector<CTabInterval>* intervals = nullptr);
    // The positions of tabs at these values (TruncateToTabPosition), ascending.
    static std::vector<std::int32_t> TabPositions(const std::vector<double>& values);
    // The tabs read from the file that no ruler has taken yet, handed over
    // once: the first view places them on its ruler.
    std::optional<CSavedTabs> TakeSavedTabs();
    // Without a ruler: the tabs read from the file, calculated with their
    // saved D and M. False when the file held no tabs.
    bool CalculateSavedTabH();
    // Rebuilds the global estimator from the series with m_nD, m_nM and
    // m_nRMin.
    void RecalculateH();
    // Note the order: M first. The first lag goes with them: the document's
    // own (which new intervals are given) and the global estimator's.
    void SetHParameters(CEstimatorSetting setting);
    // Replaces the series with one number per line of a text file, optionally
    // keeping only values strictly between nUnder and nOver. Returns false,
    // leaving the document as it was, when the user keeps unsaved changes or
    // the file cannot be read.
    // Only a regular file is read: a folder, a device or a named pipe is
    // refused with a message. A UTF-8 or UTF-16 byte-order mark is honoured,
    // and LF, CR LF and a lone CR each end a line; a line longer than
    // kMaxTextLineBytes refuses the file, and so does a NUL byte outside
    // UTF-16 (a binary file, such as a document). UTF-16 without its mark is
    // recognised. Values too large for a number are kept as infinities, and
    // a message says how many there are; a line that is not wholly a number
    // is read as the number it starts with (0 when none), and one message
    // says how many such lines there were. After a successful import the
    // document updates its views itself, once its messages have been said.
    bool ImportTextFile(const std::string& path, int nUnder, int nOver, bool bFilter);
    // The same from a stream that is already open (the command line's
    // standard input), read to its end; name ("standard input") is what
    // the messages call it.
    bool ImportTextStream(std::FILE* file, const std::string& name, int nUnder, int nOver, bool bFilter);
    // Replaces the series with the records of a database table: X from one
    // field, Y from another (DatabaseImport.cpp). Returns false, leaving the
    // document as it was, when the user keeps unsaved changes or the table
    // cannot be read.
    bool ImportDatabase(const std::string& database, const std::string& table, const std::string& xField,
                        const std::string& yField);
    // Reads the whole table first; only then empties the document and fills
    // it (names, points, the global estimator computed with D 4 and M 3),
    // marks it modified and holding data, and updates its views.
    // Records whose X or Y is not a number are skipped and counted in one
    // message. False, with a message and nothing changed, on failure.
    bool LoadFromDatabase(const std::string& database, const std::string& table, const std::string& xField,
                          const std::string& yField);
    // A field value as a finite real; nothing for Null, empty, text that is
    // not a number and values that are not finite.
    static std::optional<double> VariantToDouble(CDbVariant value);

    void Serialize(CArchive& ar) override;
    // Opens the file, then tells the user of any part of it that was skipped
    // (damaged saved tabs, bytes that belong to no section).
    bool OnOpenDocument(const std::string& path) override;
    void DeleteContents() override;
    // Empties the document for an imported series. The tabs a ruler has
    // taken stay listed, with no intervals until the ruler's next change:
    // the ruler keeps showing them, and a save keeps them.
    void DeleteContentsForImport();
    // Takes over an imported series: its positions and its values, which the
    // series and the estimator of the whole series then share.
    void TakeSeries(std::vector<double> positions, std::vector<double> values);
    // Takes over newly computed sliding-window results of that spacing; the
    // interval band of the windows they replace goes with them.
    void TakeSlidingWindows(CHPointArray windows, std::int32_t spacing);
    bool OnNewDocument() override;

    // After an import: the document no longer stands for the file it was
    // opened from, so that Save asks for a name instead of replacing that
    // file with unrelated data. Its title becomes the source's name.
    void TakeImportedName(const std::string& name);

    // The extremes of the series' X and Y, as the view shows them.
    CPlotExtents GetPlotExtents() const;

    // Whether Profile made this document (its series is a running sum, a
    // motion rather than a noise), and from what; saved with the document.
    bool IsProfile() const { return m_profile.has_value(); }
    const std::optional<CProfileRecord>& ProfileRecord() const { return m_profile; }
    // Records (or, with nothing, forgets) how Profile made the document;
    // a change marks it modified and updates its views. Emptying the
    // document forgets it too.
    void SetProfileRecord(std::optional<CProfileRecord> record);

    // After an interval's D or M changed: the intervals' parameters are
    // saved with the tabs, so a document with tabs now has a change to save.
    void IntervalParametersChanged();
    // Gives the interval at index (in X order) the D, M and first lag of
    // setting and recomputes it alone; a change of any marks a document with tabs
    // modified (IntervalParametersChanged). Then tells the views
    // (kHintIntervalSetting). False, with nothing changed and no view told,
    // when there is no interval at index.
    bool SetIntervalSetting(std::size_t index, CEstimatorSetting setting);
    // The same for every interval at once, settings holding one D and M per
    // interval in X order: each is recomputed, the views are told once.
    // False, with nothing changed and no view told, when settings does not
    // hold exactly one per interval.
    bool SetIntervalSettings(const std::vector<CEstimatorSetting>& settings);

    std::int32_t m_nSpacing = 1;
    int m_bHSeries = 0;
    CHDataSet m_globalSet;
    // One estimator per interval between the tabs, in X order. Read it
    // freely; change it (or an estimator in it) only through SetTabs,
    // CalculateTabH, SetIntervalSetting and SetIntervalSettings.
    std::vector<std::unique_ptr<CHDataSet>> m_tabSets;
    CHPointArray m_windows;
    // The interval band of the sliding-window results, window for window,
    // when one was computed with them (analysis/IntervalBand.h); whatever
    // replaces or empties the results resets it.
    std::optional<CIntervalBand> m_band;
    CSeriesArray m_points;
    CHPointArray m_slopes;
    std::int32_t m_nD = 4;
    std::int32_t m_nM = 3;
    // The first lag of the fit new intervals are given, with m_nD and m_nM.
    std::int32_t m_nRMin = 1;
    int m_bHasData = 0;
    std::string m_strXField;
    std::string m_strYField;
    std::string m_strTable;
    std::string m_strDatabase;
    // The ruler's tabs as last calculated (X values in the ruler's order);
    // saved with the document, with each interval's D and M. Read it
    // freely; change it only through SetTabs.
    std::vector<double> m_tabValues;
    // Tabs read from the file, until a ruler (or CalculateSavedTabH) takes them.
    std::optional<CSavedTabs> m_savedTabs;
    // What the last load skipped, one sentence each, said after opening.
    std::vector<std::string> m_loadNotes;
    // The connection of the database import, open only while it reads.
    std::unique_ptr<IDatabase> m_database;
    DatabaseOpener m_openDatabase = OpenDatabase;

private:
    std::optional<CProfileRecord> m_profile;

    // Gives one interval's estimator D, M and first lag and recomputes it;
    // true when any changed.
    static bool ApplyIntervalSetting(CHDataSet& set, CEstimatorSetting setting);

    // Reads the lines of file into the series (TextImport.cpp); false, with
    // a message and the document unchanged, on failure. name is the source
    // as messages quote it, title the document's new title. warnings gets
    // what to tell the user once the import is done (values read as
    // infinities, lines that were not wholly a number).
    bool ReadTextSeries(std::FILE* file, const std::string& name, const std::string& title, int nUnder, int nOver,
                        bool bFilter, std::vector<std::string>& warnings);
    // The end of every successful import: each warning in a message of its
    // own, then every view shows the new series (TextImport.cpp).
    void FinishImport(const std::vector<std::string>& warnings);
};
