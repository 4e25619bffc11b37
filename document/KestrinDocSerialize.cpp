// The document file: parameters, source names, the series, the sliding-window
// results and the global estimator, back to back with no header.
#include <algorithm>

#include "KestrinDoc.h"

namespace {

constexpr std::size_t kPointBytes = 16;  // X, Y
constexpr std::size_t kWindowBytes = 36; // X, H, r, b, n
constexpr std::size_t kChunk = 4096;     // records converted per block

void StorePoints(CArchive& ar, const CHPointArray& points)
{
    double block[2 * kChunk];
    const std::size_t count = static_cast<std::size_t>(points.GetSize());
    const CHPoint* p = points.GetData();
    for (std::size_t start = 0; start < count; start += kChunk) {
        const std::size_t n = std::min(kChunk, count - start);
        for (std::size_t i = 0; i < n; ++i) {
            block[2 * i] = p[start + i].m_dX;
            block[2 * i + 1] = p[start + i].m_dY;
        }
        ar.WriteDoubles(block, 2 * n);
    }
}

void LoadPoints(CArchive& ar, CHPointArray& points, std::int32_t count)
{
    points.SetSize(count);
    double block[2 * kChunk];
    CHPoint* p = points.GetData();
    const std::size_t total = static_cast<std::size_t>(count);
    for (std::size_t start = 0; start < total; start += kChunk) {
        const std::size_t n = std::min(kChunk, total - start);
        ar.ReadDoubles(block, 2 * n);
        for (std::size_t i = 0; i < n; ++i) {
            p[start + i].m_dX = block[2 * i];
            p[start + i].m_dY = block[2 * i + 1];
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
        for (const CHPoint& w : m_windows)
            ar << w.m_dX << w.m_dY << w.m_dR << w.m_dB << w.m_nCount;
        m_globalSet.Serialize(ar);
        return;
    }

    // Everything is read into locals first and taken over only when the whole
    // file has been read, so a damaged file changes nothing.
    std::int32_t nD = 0, nM = 0, hasData = 0, hSeries = 0, spacing = 0, count = 0;
    std::string database, table, xField, yField;
    ar >> nD >> nM >> database >> table >> xField >> yField >> hasData >> hSeries >> spacing;
    if (nD < 0 || nM < 0)
        throw CArchiveException(CArchiveException::badValue, "its D or M is negative");

    ar >> count;
    ar.CheckCount(count, kPointBytes, "series");
    CHPointArray points;
    LoadPoints(ar, points, count);

    ar >> count;
    ar.CheckCount(count, kWindowBytes, "list of sliding-window results");
    CHPointArray windows;
    windows.SetSize(count);
    for (CHPoint& w : windows)
        ar >> w.m_dX >> w.m_dY >> w.m_dR >> w.m_dB >> w.m_nCount;

    CHDataSet global = m_globalSet;
    global.Values().RemoveAll();
    global.Serialize(ar);
    if (global.GetM() < 0 || global.GetD() < 0)
        throw CArchiveException(CArchiveException::badValue, "its estimator's D or M is negative");

    m_nD = nD;
    m_nM = nM;
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
}
