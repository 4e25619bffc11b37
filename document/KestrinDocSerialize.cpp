// The document file: parameters, source names, the series, the sliding-window
// results and the global estimator, back to back with no header; then the
// optional sections a document has (DocumentSections.h): the tabs, the
// profile record, the first lags of the fits, the interval band.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>


#include "document/KestrinDoc.h"
#include "platform/LargeArrays.h"
#include "core/OptimumM.h"
#include "document/DocumentSections.h"
#include "document/FirstLagSection.h"
#include "document/BandSection.h"
#include "document/ProfileSection.h"
#include "document/TabSection.h"
#include "platform/TextEncoding.h"

namespace {

constexpr std::size_t kPointBytes = 16;    // X, Y
constexpr std::size_t kWindowBytes = 36;   // X, H, r, b, n
constexpr std::size_t kChunk = 4096;       // points converted per block
constexpr std::size_t kWindowChunk = 1024; // windows converted per block

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

void StorePoints(CArchive& ar, const CSeriesArray& points)
{
    double block[2 * kChunk];
    const std::size_t count = static_cast<std::size_t>(points.GetSize());
    const double* xs = points.Xs();
    const double* ys = points.Ys();
    for (std::size_t start = 0; start < count; start += kChunk) {
        const std::size_t n = std::min(kChunk, count - start);
        for (std::size_t i = 0; i < n; ++i) {
            block[2 * i] = xs[start + i];
            block[2 * i + 1] = ys[start + i];
        }
        ar.WriteDoubles(block, 2 * n);
    }
}

void LoadPoints(CArchive& ar, CSeriesArray& points, std::int32_t count)
{
    const std::size_t total = static_cast<std::size_t>(count);
    std::vector<double> xs;
    auto ys = std::make_shared<CDoubleArray>();
    ReserveLarge(xs, total);
    ReserveLarge(ys->Storage(), total);
    double block[2 * kChunk];
    for (std::size_t start = 0; start < total; start += kChunk) {
        const std::size_t n = std::min(kChunk, total - start);
        ar.ReadDoubles(block, 2 * n);
        for (std::size_t i = 0; i < n; ++i) {
            xs.push_back(block[2 * i]);
            ys->Storage().push_back(block[2 * i + 1]);
        }
    }
    points.Assign(std::move(xs), std::move(ys));
}

// A window is stored as X, H, r, b (doubles) and n (a 32-bit integer),
// little-endian, 36 bytes with no padding.
void StoreWindows(CArchive& ar, const CHPointArray& windows)
{
    if constexpr (!kLittleEndian) {
        for (const CHPoint& w : windows)
            ar << w.m_dX << w.m_dY << w.m_dR << w.m_dB << w.m_nCount;
        return;
    }
    std::uint8_t block[kWindowBytes * kWindowChunk];
    const std::size_t count = static_cast<std::size_t>(windows.GetSize());
    const CHPoint* w = windows.GetData();
    for (std::size_t start = 0; start < count; start += kWindowChunk) {
        const std::size_t n = std::min(kWindowChunk, count - start);
        std::uint8_t* out = block;
        for (std::size_t i = 0; i < n; ++i, out += kWindowBytes) {
            const CHPoint& window = w[start + i];
            std::memcpy(out, &window.m_dX, 8);
            std::memcpy(out + 8, &window.m_dY, 8);
            std::memcpy(out + 16, &window.m_dR, 8);
            std::memcpy(out + 24, &window.m_dB, 8);
            std::memcpy(out + 32, &window.m_nCount, 4);
        }
        ar.WriteBytes(block, n * kWindowBytes);
    }
}

// A window counts the values it used: never fewer than none.
void CheckWindowCount(std::int32_t n)
{
    if (n < 0)
        throw CArchiveException(CArchiveException::badValue,
                                "a sliding-window result counts " + std::to_string(n) + " values");
}

// D and M as no dialog gives them are refused, before a computation asks
// for D-long vectors or M lag tables. what names the pair ("its", "its
// estimator's").
void CheckParameters(std::int32_t nD, std::int32_t nM, const std::string& what)
{
    if (!IsUsableEmbedding(nD))
        throw CArchiveException(CArchiveException::badValue, what + " D of " + std::to_string(nD) +
                                                                 " is outside 0 to " + std::to_string(kMaxEmbeddingD));
    if (nM < 0)
        throw CArchiveException(CArchiveException::badValue, what + " M is negative");
    if (!IsUsableLagCount(nM))
        throw CArchiveException(CArchiveException::badValue,
                                what + " M is larger than " + std::to_string(kMaxLagCount));
}

// A D or M that is usable but measures nothing (a D of 0, an M of 0 or 1) is
// replaced by the one a new document has, so that no interval made later
// inherits it; what was replaced is added to replaced ("its D of 0 is
// outside 1 to 1000, replaced by 4").
void HoldToLimits(CEstimatorSetting& setting, CEstimatorSetting fresh, const std::string& what,
                  std::vector<std::string>& replaced)
{
    if (!IsMeasuringEmbedding(setting.nD)) {
        replaced.push_back(what + " D of " + std::to_string(setting.nD) + " is outside " +
                           std::to_string(kMinEmbeddingD) + " to " + std::to_string(kMaxEmbeddingD) +
                           ", replaced by " + std::to_string(fresh.nD));
        setting.nD = fresh.nD;
    }
    if (!IsMeasuringLagCount(setting.nM)) {
        replaced.push_back(what + " M of " + std::to_string(setting.nM) + " is outside " +
                           std::to_string(kMinLagCount) + " to " + std::to_string(kMaxLagCount) +
                           ", replaced by " + std::to_string(fresh.nM));
        setting.nM = fresh.nM;
    }
}

// The D and M of each interval to save: those read from the file while no
// ruler has taken them, else those of the intervals computed for the tabs.
std::vector<CTabInterval> IntervalsToSave(const CKestrinDoc& doc)
{
    if (doc.m_savedTabs)
        return doc.m_savedTabs->intervals;
    std::vector<CTabInterval> intervals;
    if (doc.m_tabSets.size() != doc.m_tabValues.size() + 1)
        return intervals;
    for (const auto& set : doc.m_tabSets)
        intervals.push_back({set->GetD(), set->GetM(), set->GetRMin()});
    return intervals;
}

void LoadWindows(CArchive& ar, CHPointArray& windows, std::int32_t count)
{
    std::vector<CHPoint>& records = windows.Storage();
    const std::size_t total = static_cast<std::size_t>(count);
    ReserveLarge(records, total);
    if constexpr (!kLittleEndian) {
        records.resize(total);
        for (CHPoint& w : records) {
            ar >> w.m_dX >> w.m_dY >> w.m_dR >> w.m_dB >> w.m_nCount;
            CheckWindowCount(w.m_nCount);
        }
        return;
    }
    std::uint8_t block[kWindowBytes * kWindowChunk];
    for (std::size_t start = 0; start < total; start += kWindowChunk) {
        const std::size_t n = std::min(kWindowChunk, total - start);
        ar.ReadBytes(block, n * kWindowBytes);
        const std::uint8_t* in = block;
        for (std::size_t i = 0; i < n; ++i, in += kWindowBytes) {
            CHPoint window;
            std::memcpy(&window.m_dX, in, 8);
            std::memcpy(&window.m_dY, in + 8, 8);
            std::memcpy(&window.m_dR, in + 16, 8);
            std::memcpy(&window.m_dB, in + 24, 8);
            std::memcpy(&window.m_nCount, in + 32, 4);
            CheckWindowCount(window.m_nCount);
            records.push_back(window);
        }
    }
}

} // namespace

void CKestrinDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_nD << m_nM << m_strDatabase << m_strTable << m_strXField << m_strYField;
        ar << static_cast<std::int32_t>(m_bHasData) << static_cast<std::int32_t>(m_bHSeries) << m_nSpacing;
        ar << static_cast<std::int32_t>(m_points.GetSize());
        StorePoints(ar, m_points);
        ar << static_cast<std::int32_t>(m_windows.GetSize());
        StoreWindows(ar, m_windows);
        m_globalSet.Serialize(ar);
        const std::vector<CTabInterval> intervals =
            m_tabValues.empty() ? std::vector<CTabInterval>() : IntervalsToSave(*this);
        if (!m_tabValues.empty())
            StoreTabSection(ar, m_tabValues, intervals);
        if (m_profile)
            StoreProfileSection(ar, *m_profile);
        if (const CFirstLags lags = FirstLagsOf(*this, intervals); !lags.AllFromFirst())
            StoreFirstLagSection(ar, lags);
        if (m_band)
            StoreBandSection(ar, *m_band);
        return;
    }

    // Everything is read into locals first and taken over only when the whole
    // file has been read, so a damaged file changes nothing.
    std::int32_t nD = 0, nM = 0, hasData = 0, hSeries = 0, spacing = 0, count = 0;
    std::string database, table, xField, yField;
    ar >> nD >> nM >> database >> table >> xField >> yField >> hasData >> hSeries >> spacing;
    CheckParameters(nD, nM, "its");
    if (spacing < 0)
        throw CArchiveException(CArchiveException::badValue, "its sliding-window spacing is negative");

    ar >> count;
    ar.CheckCount(count, kPointBytes, "series");
    CSeriesArray points;
    LoadPoints(ar, points, count);

    ar >> count;
    ar.CheckCount(count, kWindowBytes, "list of sliding-window results");
    CHPointArray windows;
    LoadWindows(ar, windows, count);

    // The estimator keeps its label and automatic-computation switch.
    CHDataSet global(m_globalSet.GetSetting());
    global.m_strLabel = m_globalSet.m_strLabel;
    global.m_bAutoCompute = m_globalSet.m_bAutoCompute;
    global.Serialize(ar);
    CheckParameters(global.GetD(), global.GetM(), "its estimator's");
    // The file stores the estimator's values again after the series' Y:
    // when they are the same bits, the estimator reads the series' own.
    const CDoubleArray& read = std::as_const(global).Values();
    if (points.SharedYs() && read.GetSize() > 0 && read.GetSize() == points.GetSize() &&
        std::memcmp(read.GetData(), points.Ys(), static_cast<std::size_t>(read.GetSize()) * sizeof(double)) == 0)
        global.ShareValues(points.SharedYs());

    // The document's D and M and its estimator's, held to the limits the
    // saved intervals are held to; the estimator is computed again with
    // what replaced its own.
    std::vector<std::string> replaced;
    CEstimatorSetting own{.nD = nD, .nM = nM};
    HoldToLimits(own, {.nD = kNewDocumentD, .nM = kNewDocumentM}, "its", replaced);
    CEstimatorSetting estimator = global.GetSetting();
    HoldToLimits(estimator, kNewEstimatorSetting, "its estimator's", replaced);
    if (estimator.nD != global.GetD() || estimator.nM != global.GetM()) {
        const int autoCompute = global.m_bAutoCompute;
        global.m_bAutoCompute = 0;
        global.SetD(estimator.nD);
        global.SetM(estimator.nM);
        global.Compute();
        global.m_bAutoCompute = autoCompute;
    }

    m_nD = own.nD;
    m_nM = own.nM;
    m_strDatabase = std::move(database);
    m_strTable = std::move(table);
    m_strXField = std::move(xField);
    m_strYField = std::move(yField);
    m_bHasData = hasData;
    m_bHSeries = hSeries;
    m_nSpacing = spacing;
    m_points = std::move(points);
    m_windows = std::move(windows);
    m_globalSet = std::move(global);

    // The base document is whole; what follows can only add the tabs and
    // the profile record.
    m_loadNotes.clear();
    if (!replaced.empty()) {
        std::string note;
        for (const std::string& r : replaced)
            note += (note.empty() ? "" : "; ") + r;
        m_loadNotes.push_back(note + ".");
    }
    CDocumentSections sections = LoadDocumentSections(ar, m_loadNotes);
    m_savedTabs = std::move(sections.tabs);
    m_tabValues = m_savedTabs ? m_savedTabs->values : std::vector<double>();
    m_profile = std::move(sections.profile);
    m_nRMin = 1;
    if (sections.firstLags) {
        if (const std::optional<std::string> reason = ApplyFirstLags(*this, *sections.firstLags)) {
            m_loadNotes.push_back("the first lags of the fits are damaged (" + *reason + "); the fits start at lag 1.");
            // The global estimator's values were fitted from the lag that
            // could not be kept: fitted again from lag 1.
            if (sections.firstLags->global != 1)
                m_globalSet.Compute();
        }
    } else if (sections.firstLagsUnread) {
        // The saved global estimate may have been fitted from another first
        // lag: fitted again from lag 1, as the document now says.
        m_globalSet.Compute();
    }
    m_band.reset();
    if (sections.band) {
        if (sections.band->windows.size() == static_cast<std::size_t>(m_windows.GetSize()))
            m_band = std::move(sections.band);
        else
            m_loadNotes.push_back("the interval band does not match the sliding-window results; the document "
                                  "opens without it.");
    }
}

bool CKestrinDoc::OnOpenDocument(const std::string& path)
{
    m_loadNotes.clear();
    if (!CDocument::OnOpenDocument(path))
        return false;
    for (const std::string& note : m_loadNotes)
        Ui().MessageBox("\"" + DisplayText(path) + "\": " + note, MsgButtons::ok, MsgIcon::warning);
    m_loadNotes.clear();
    return true;
}
