// The picture of the document window outside it: exported as a file,
// printed, copied to the clipboard; and the data every layer draws from.
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "dialogs/ExportPictureDlg.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "views/PictureExport.h"
#include "views/RuleTab.h"

namespace {

constexpr int kDefaultDpi = 96;

} // namespace

bool CKestrinView::HasData() const
{
    return m_doc.m_bHasData != 0;
}

IUiServices& CKestrinView::PictureUi() const
{
    return m_doc.Ui();
}

CSeriesGraphData CKestrinView::SeriesGraphData() const
{
    CSeriesGraphData data;
    data.points = &m_doc.m_points;
    data.extents = m_extents;
    data.shown = ZoomedExtents();
    if (data.shown)
        data.summary = Summary();
    data.dH = m_doc.m_globalSet.GetH();
    data.dR = m_doc.m_globalSet.GetR();
    data.nCount = m_doc.m_globalSet.GetCount();
    data.axisScales = m_bAxisScales;
    return data;
}

CHGraphData CKestrinView::HGraphData() const
{
    CHGraphData data;
    data.extents = m_extents;
    data.shown = ZoomedExtents();
    data.tabPositions = m_window.m_tabPositions;
    // One more interval than tabs, each with its estimator; another window's
    // tabs may have rebuilt the document's intervals since this window's
    // last calculation, leaving fewer.
    const std::size_t intervals = std::min(data.tabPositions.size() + 1, m_doc.m_tabSets.size());
    for (std::size_t i = 0; i < intervals && !data.tabPositions.empty(); ++i)
        data.intervalH.push_back(m_doc.m_tabSets[i]->GetH());
    data.windows = &m_doc.m_windows;
    data.band = m_doc.m_band ? &*m_doc.m_band : nullptr;
    return data;
}

CLegendData CKestrinView::LegendData() const
{
    CLegendData data;
    // The Y field names the bottom, the X field the left.
    data.bottomTitle = m_doc.m_strYField;
    data.leftTitle = m_doc.m_strXField;
    // The ends of the range shown.
    data.extents = ShownExtents();
    data.hSeries = m_doc.m_bHSeries == 1;
    data.axisScales = m_bAxisScales;
    return data;
}

CPictureData CKestrinView::PictureData() const
{
    CPictureData data;
    data.hasData = HasData();
    data.series = SeriesGraphData();
    data.hGraph = HGraphData();
    data.legend = LegendData();
    data.ruler.enabled = m_ruler.GetEnabledFlag();
    data.ruler.shownWidth = m_ruler.width();
    for (std::size_t i = 0; i < m_window.m_tabs.size(); ++i)
        data.ruler.tabs.push_back({m_window.m_tabs[i].value, m_ruler.GetTab(static_cast<int>(i))->Left()});
    data.showSeries = m_seriesGraph.isVisibleTo(this);
    data.showHGraph = m_hGraph.isVisibleTo(this);
    data.showRuler = m_ruler.isVisibleTo(this);
    data.showLegend = m_legend.isVisibleTo(this);
    // The window's font at the size it has on the screen, in pixels.
    data.font = m_seriesGraph.font();
    data.font.setPixelSize(QFontInfo(data.font).pixelSize());
    return data;
}

void CKestrinView::SetAxisScales(bool on)
{
    if (m_bAxisScales == on)
        return;
    m_bAxisScales = on;
    // The grid lies in the series graph's snapshot.
    m_seriesGraph.m_bRegenerate = 1;
    if (isVisible())
        repaint();
    else
        update();
}

void CKestrinView::OnExportPicture()
{
    FileDialogOptions options = PictureFileOptions("Export Picture");
    // The document's title names the picture, its own extension left off.
    QString name = QString::fromStdString(m_doc.GetTitle());
    if (name.endsWith(QLatin1String(".kst"), Qt::CaseInsensitive))
        name.chop(4);
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (!name.isEmpty())
        options.fileName = (name + QLatin1String(".png")).toStdString();
    const auto chosen = m_doc.Ui().ChooseSaveFile(options);
    if (!chosen || chosen->empty())
        return;
    const QString path = QString::fromStdString(*chosen);
    const std::optional<PictureFormat> format = PictureFormatOf(path);

    CExportPictureDlg dlg(width(), height(), kDefaultDpi, format == PictureFormat::png, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    CPictureExportSettings settings;
    settings.size = QSize(dlg.m_nWidth, dlg.m_nHeight);
    settings.dpi = dlg.m_nDpi;
    settings.ruler = dlg.m_bRuler;
    QString error;
    CWaitCursor wait(m_doc.Ui());
    if (!ExportPicture(path, PictureData(), settings, error))
        m_doc.Ui().ShowError("Cannot export the picture to " + *chosen + ": " + error.toStdString() + ".");
}

void CKestrinView::OnPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QString::fromStdString(m_doc.GetTitle()));
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!PrintPicture(printer, PictureData(), size()))
        m_doc.Ui().ShowError("The picture could not be printed.");
}

void CKestrinView::OnPrintPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QString::fromStdString(m_doc.GetTitle()));
    QPrintPreviewDialog preview(&printer, this);
    const CPictureData data = PictureData();
    const QSize picture = size();
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&data, picture](QPrinter* p) { PrintPicture(*p, data, picture); });
    preview.exec();
}

void CKestrinView::OnCopyPicture()
{
    const CPictureData data = PictureData();
    auto* mime = new QMimeData;
    mime->setImageData(RenderPictureImage(data, size(), false));
    mime->setData(QStringLiteral("image/svg+xml"), RenderPictureSvg(data, size(), false));
    QApplication::clipboard()->setMimeData(mime);
}
