// The picture outside the window: PNG, SVG and PDF files read back, the
// printed page, the clipboard, View > Axis Scales, and the command-line
// export without a display.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include "views/CommandIds.h"
#include "tests/support/gui/DialogTestSupport.h"
#include "dialogs/ExportPictureDlg.h"
#include "tests/support/gui/GuiTestSupport.h"
#include "app/KestrinApp.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "app/MainFrame.h"
#include "views/PictureExport.h"
#include "core/PlotMapping.h"
#include "tests/support/gui/ScriptedQtUi.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gui/WorkbenchTest.h"

namespace picture_export_test {

namespace {

const QColor kGrid(225, 225, 225);
constexpr int kPoints = 20000;

// The workbench with one document window: X 0..kPoints-1, Y a random walk,
// one tab in the middle.
class PictureExport : public CWorkbenchTest
{
protected:
    void SetUp() override
    {
        CWorkbenchTest::SetUp();
        StartWithRandomWalk(kPoints, 0.0, 5);
        if (HasFatalFailure())
            return;
        m_doc->UpdateAllViews(nullptr);
        m_view->AddTabAt(kPoints / 2, true);
        m_doc->SetModifiedFlag(false);
    }

    // The row of the whole-series H line in a picture of height cy.
    int HRow(int cy) const
    {
        const QRect plot = CKestrinView::PlotRect(0, cy);
        return plot.top() + HToPixel(CPlotRect{0, 0, 0, plot.height()}, m_doc->m_globalSet.GetH());
    }

    bool Export(const std::string& path, QSize size, bool ruler = false, int dpi = 96)
    {
        CPictureExportSettings settings;
        settings.size = size;
        settings.dpi = dpi;
        settings.ruler = ruler;
        QString error;
        const bool ok = ExportPicture(QString::fromStdString(path), m_view->PictureData(), settings, error);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }

    TempDir m_dir;
};

int CountColour(const QImage& image, const QColor& colour, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += PixelAt(image, x, y) == colour;
    return n;
}

QByteArray ReadAll(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a PDF written by Qt says of its pages: the count and the first
// page's media box.
struct PdfPages
{
    int count = -1;
    QString mediaBox;
};

PdfPages ReadPdfPages(const QByteArray& pdf)
{
    PdfPages pages;
    const QString text = QString::fromLatin1(pdf);
    const auto count = QRegularExpression(QStringLiteral("/Type /Pages\\s*/Kids\\s*\\[?[\\d\\sR]*\\]?\\s*/Count (\\d+)"))
                           .match(text);
    if (count.hasMatch())
        pages.count = count.captured(1).toInt();
    const auto box = QRegularExpression(QStringLiteral("/MediaBox \\[([^\\]]*)\\]")).match(text);
    if (box.hasMatch())
        pages.mediaBox = box.captured(1).simplified();
    return pages;
}

// The page contents of a PDF written by Qt: its streams, inflated where
// they are compressed.
QByteArray PdfContents(const QByteArray& pdf)
{
    QByteArray contents;
    for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at)) {
        const qsizetype dict = pdf.lastIndexOf("<<", at);
        const qsizetype begin = at + 7;
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0)
            break;
        const QByteArray body = pdf.mid(begin, end - begin);
        if (pdf.mid(dict, at - dict).contains("/FlateDecode")) {
            // qUncompress wants the size first; it grows the buffer as needed.
            QByteArray sized("\x00\x10\x00\x00", 4);
            contents += qUncompress(sized + body);
        } else {
            contents += body;
        }
        at = end + 9;
    }
    return contents;
}

// The vertices of the grey series in a page's contents: the path drawn
// after its colour is set, up to its stroke.
int PdfSeriesVertices(const QByteArray& contents)
{
    const QList<QByteArray> lines = contents.split('\n');
    int vertices = 0;
    bool inSeries = false;
    for (const QByteArray& line : lines) {
        if (line.startsWith("0.498039215 0.498039215 0.498039215 SCN"))
            inSeries = true;
        else if (inSeries && line == "S")
            break;
        else if (inSeries && (line.endsWith(" m") || line.endsWith(" l")))
            ++vertices;
    }
    return vertices;
}

} // namespace

TEST_F(PictureExport, PngAtTheWindowsSizeIsTheWindowPixelForPixel)
{
    const QSize size = m_view->size();
    const std::string path = m_dir.File("window.png");
    ASSERT_TRUE(Export(path, size, true, 300));
    QImage png(QString::fromStdString(path));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), size);
    EXPECT_NEAR(png.dotsPerMeterX() * 0.0254, 300.0, 0.5);
    // Axis Scales is off: the file holds exactly what the window shows.
    const QImage window = RenderWidget(*m_view);
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), window);
    EXPECT_EQ(CountColour(window, kGrid, CKestrinView::PlotRect(size.width(), size.height())), 0);
}

TEST_F(PictureExport, PngAtAnotherSizeDrawsTheLayersAtThatSize)
{
    const std::string path = m_dir.File("big.png");
    ASSERT_TRUE(Export(path, QSize(1200, 800)));
    const QImage png = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(png.size(), QSize(1200, 800));
    const QRect plot = CKestrinView::PlotRect(1200, 800);
    // The X axis on the plot's last row, the Y axis on its first column.
    EXPECT_EQ(PixelAt(png, 600, plot.bottom()), kAxisBlack);
    EXPECT_EQ(PixelAt(png, plot.left(), 400), kAxisBlack);
    // The H line across the plot, at the row of the whole-series H.
    EXPECT_EQ(PixelAt(png, plot.right() - 5, HRow(800)), kHLineBlue);
    EXPECT_GT(CountColour(png, kSeriesGrey, plot), plot.width());
    // No ruler unless asked for.
    EXPECT_EQ(CountColour(png, QColor(255, 0, 0), QRect(0, 0, 1200, 25)), 0);
}

TEST_F(PictureExport, SvgHoldsTheSeriesAsOnePathAndTextAsText)
{
    // One sliding-window result per point: the curve, like the series, is
    // reduced to the vertices that shape each column.
    for (int i = 0; i < kPoints; ++i) {
        CHPoint result{};
        result.m_dX = i;
        result.m_dY = 0.5 + 0.4 * std::sin(i * 0.37);
        m_doc->m_windows.Add(result);
    }
    const std::string path = m_dir.File("picture.svg");
    const QSize size(800, 500);
    ASSERT_TRUE(Export(path, size));
    QXmlStreamReader xml(ReadAll(path));
    std::vector<QString> strokes{QStringLiteral("none")};
    int greyPaths = 0;
    int greyVertices = 0;
    int greenVertices = 0;
    int bluePaths = 0;
    QStringList texts;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto attrs = xml.attributes();
            QString stroke = attrs.hasAttribute("stroke") ? attrs.value("stroke").toString() : strokes.back();
            strokes.push_back(stroke);
            if (xml.name() == QLatin1String("polyline") || xml.name() == QLatin1String("path")) {
                if (stroke == QLatin1String("#7f7f7f")) {
                    ++greyPaths;
                    greyVertices = static_cast<int>(attrs.value("points").split(u' ', Qt::SkipEmptyParts).size());
                }
                if (stroke == QLatin1String("#00ff00"))
                    greenVertices += static_cast<int>(attrs.value("points").split(u' ', Qt::SkipEmptyParts).size());
                bluePaths += stroke == QLatin1String("#0000ff");
            }
            if (xml.name() == QLatin1String("text"))
                texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.isEndElement()) {
            strokes.pop_back();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(greyPaths, 1);
    // kPoints points, at most four vertices per column of the plot.
    const int columns = CKestrinView::PlotRect(size.width(), size.height()).width() + 1;
    EXPECT_GT(greyVertices, columns);
    EXPECT_LE(greyVertices, 4 * columns + 1);
    // More windows than columns: the curve joins the columns' medians, one
    // vertex per column (the extents of H under it are a lighter green).
    EXPECT_GE(greenVertices, columns - 1);
    EXPECT_LE(greenVertices, 4 * columns);
    EXPECT_EQ(bluePaths, 1);
    const QString label = QString::fromStdString(SeriesGraphLabel(m_doc->m_globalSet.GetH(), m_doc->m_globalSet.GetR(),
                                                                  m_doc->m_globalSet.GetCount()));
    EXPECT_TRUE(texts.contains(label)) << texts.join(" | ").toStdString();
}

// An H above 1 or below 0 lies outside the plot: the window clips it away,
// and every file shows the same, whether or not its format keeps a clip.
TEST_F(PictureExport, HOutsideZeroToOneStaysOutOfEveryFile)
{
    CPictureData data = m_view->PictureData();
    data.series.dH = 1.03;
    data.hGraph.tabPositions = {5000, 10000};
    data.hGraph.intervalH = {-0.06, 1.61, 1.03};
    CHPointArray windows;
    for (int i = 0; i < kPoints; i += 10) {
        CHPoint result{};
        result.m_dX = i;
        result.m_dY = 0.5 + 0.6 * std::sin(i * 0.001);
        windows.Add(result);
    }
    data.hGraph.windows = &windows;
    const QSize size(800, 500);
    const QRect plot = CKestrinView::PlotRect(size.width(), size.height());
    const QByteArray svg = RenderPictureSvg(data, size, false);

    // No line of the out-of-range H values in the file; the curve in parts.
    QXmlStreamReader xml(svg);
    std::vector<QString> strokes{QStringLiteral("none")};
    int magentaLines = 0;
    int blueLines = 0;
    int greenLines = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement())
            strokes.pop_back();
        if (!xml.isStartElement())
            continue;
        const auto attrs = xml.attributes();
        strokes.push_back(attrs.hasAttribute("stroke") ? attrs.value("stroke").toString() : strokes.back());
        if (xml.name() != QLatin1String("polyline") && xml.name() != QLatin1String("path") &&
            xml.name() != QLatin1String("line"))
            continue;
        magentaLines += strokes.back() == QLatin1String("#ff00ff");
        blueLines += strokes.back() == QLatin1String("#0000ff");
        greenLines += strokes.back() == QLatin1String("#00ff00");
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(magentaLines, 0);
    EXPECT_EQ(blueLines, 0);
    EXPECT_GT(greenLines, 1);

    // The file drawn and the image hold the marks only inside the plot.
    QImage drawn(size, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        QPainter painter(&drawn);
        QSvgRenderer(svg).render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    const QImage image = RenderPictureImage(data, size, false).convertToFormat(QImage::Format_RGB32);
    const QRect whole(QPoint(0, 0), size);
    for (const QImage* picture : {&image, static_cast<const QImage*>(&drawn)}) {
        for (const QColor colour : {QColor(255, 0, 255), QColor(0, 255, 0), kHLineBlue})
            EXPECT_EQ(CountColour(*picture, colour, whole) - CountColour(*picture, colour, plot), 0)
                << colour.name().toStdString();
        EXPECT_GT(CountColour(*picture, QColor(0, 255, 0), plot), plot.width() / 10);
    }
}

TEST_F(PictureExport, PdfIsOnePageOfThePicturesSizeAndPrintingFillsALandscapePage)
{
    const std::string path = m_dir.File("picture.pdf");
    ASSERT_TRUE(Export(path, QSize(960, 480)));
    const QByteArray pdf = ReadAll(path);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    PdfPages pages = ReadPdfPages(pdf);
    EXPECT_EQ(pages.count, 1);
    // 960 by 480 pixels of 1/96 inch are 720 by 360 points.
    EXPECT_EQ(pages.mediaBox, "0 0 720.000000 360.000000");

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string printed = m_dir.File("printed.pdf");
    printer.setOutputFileName(QString::fromStdString(printed));
    printer.setPageOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(PrintPicture(printer, m_view->PictureData(), m_view->size()));
    pages = ReadPdfPages(ReadAll(printed));
    EXPECT_EQ(pages.count, 1);
    const QStringList box = pages.mediaBox.split(' ');
    ASSERT_EQ(box.size(), 4);
    EXPECT_GT(box[2].toDouble(), box[3].toDouble());
}

TEST_F(PictureExport, PrintingTracesTheSeriesAtThePagesResolution)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string printed = m_dir.File("detail.pdf");
    printer.setOutputFileName(QString::fromStdString(printed));
    printer.setPageOrientation(QPageLayout::Landscape);
    const QSize window = m_view->size();
    ASSERT_TRUE(PrintPicture(printer, m_view->PictureData(), window));

    // The plot's columns on the window and on the page, the picture fitted
    // to the page with its proportions kept.
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / window.width(), page.height() / window.height());
    const int windowColumns = CKestrinView::PlotRect(window.width(), window.height()).width() + 1;
    const int pageColumns = qRound((windowColumns - 1) * scale) + 1;
    ASSERT_GT(pageColumns, 4 * windowColumns);
    // More vertices than the window's columns could hold, no more than the
    // page's.
    const int vertices = PdfSeriesVertices(PdfContents(ReadAll(printed)));
    EXPECT_GT(vertices, 4 * windowColumns + 1);
    EXPECT_LE(vertices, 4 * pageColumns + 1);
}

TEST_F(PictureExport, ExportPictureCommandWritesTheChosenFileOrNamesTheFailure)
{
    m_doc->SetTitle("River flow.kst");
    const std::string path = m_dir.File("chosen.png");
    m_ui->saveChoices.push_back(path);
    const bool shown = RunModal<CExportPictureDlg>([&] { Frame().OnCommand(cmd::ExportPicture); },
                                                   [](CExportPictureDlg& dlg) {
                                                       Control<QSpinBox>(dlg, "width")->setValue(640);
                                                       Control<QSpinBox>(dlg, "height")->setValue(400);
                                                       dlg.accept();
                                                   });
    ASSERT_TRUE(shown);
    ASSERT_EQ(m_ui->fileDialogs.size(), 1u);
    EXPECT_EQ(m_ui->fileDialogs[0].filter, "PNG Image (*.png);;SVG Drawing (*.svg);;PDF Document (*.pdf)");
    EXPECT_FALSE(m_ui->fileDialogs[0].allFilesFilter);
    // The document's title is offered as the name.
    EXPECT_EQ(m_ui->fileDialogs[0].fileName, "River flow.png");
    EXPECT_EQ(QImage(QString::fromStdString(path)).size(), QSize(640, 400));
    EXPECT_TRUE(m_ui->messages.empty());

    // A folder that does not exist: the message names the file.
    const std::string bad = m_dir.File("missing/picture.svg");
    m_ui->saveChoices.push_back(bad);
    RunModal<CExportPictureDlg>([&] { Frame().OnCommand(cmd::ExportPicture); },
                                [](CExportPictureDlg& dlg) { dlg.accept(); });
    ASSERT_EQ(m_ui->messages.size(), 1u);
    EXPECT_NE(m_ui->messages[0].find("Cannot export the picture to " + bad + ": "), std::string::npos);
}

TEST_F(PictureExport, CopyPutsAnImageAndAnSvgDrawingOnTheClipboard)
{
    QApplication::clipboard()->clear();
    Frame().OnCommand(cmd::EditCopy);
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(mime->imageData()).size(), m_view->size());
    EXPECT_TRUE(mime->data("image/svg+xml").contains("<svg"));
}

TEST_F(PictureExport, AxisScalesAddAGridToWindowAndFileAndAreRemembered)
{
    QAction* item = Frame().ActionsFor(cmd::ViewAxisScales).value(0);
    ASSERT_NE(item, nullptr);
    Frame().UpdateCommandUi();
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    Frame().UpdateCommandUi();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(QSettings().value("View/AxisScales").toBool());

    const QImage window = RenderWidget(*m_view);
    const QRect plot = CKestrinView::PlotRect(m_view->width(), m_view->height());
    EXPECT_GT(CountColour(window, kGrid, plot), plot.height());
    const std::string path = m_dir.File("scales.png");
    ASSERT_TRUE(Export(path, m_view->size(), true));
    EXPECT_EQ(QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32), window);

    // A new start of the workbench finds it on.
    CKestrinApp again(std::make_unique<CScriptedQtUi>());
    ASSERT_TRUE(again.InitInstance({}));
    EXPECT_TRUE(again.ActiveView()->AxisScales());
}

TEST_F(PictureExport, CommandLineExportNeedsNoDisplayAndFailsOnABadTarget)
{
    const std::string text = m_dir.File("series.txt");
    WriteFile(text, "1\n3\n2\n5\n4\n6\n8\n7\n9\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    auto runWith = [&](const QStringList& arguments, QString& errors) {
        QProcess kestrin;
        kestrin.setProcessEnvironment(env);
        kestrin.start(QStringLiteral(KESTRIN_APP_PATH), arguments);
        EXPECT_TRUE(kestrin.waitForFinished(60000));
        errors = QString::fromLocal8Bit(kestrin.readAllStandardError());
        return kestrin.exitStatus() == QProcess::NormalExit ? kestrin.exitCode() : -1;
    };
    auto run = [&](const std::string& out, QString& errors) {
        return runWith({"--export-picture", QString::fromStdString(out), "--size", "640x480", "--axis-scales",
                        "--import-text", QString::fromStdString(text)},
                       errors);
    };
    QString errors;
    const std::string out = m_dir.File("cli.png");
    EXPECT_EQ(run(out, errors), 0) << errors.toStdString();
    const QImage png(QString::fromStdString(out));
    EXPECT_EQ(png.size(), QSize(640, 480));
    EXPECT_GT(CountColour(png.convertToFormat(QImage::Format_RGB32), kGrid, CKestrinView::PlotRect(640, 480)), 0);

    const std::string bad = m_dir.File("no/such/folder/cli.pdf");
    EXPECT_EQ(run(bad, errors), 1);
    EXPECT_TRUE(errors.contains(QString::fromStdString(bad))) << errors.toStdString();

    // The workbench itself needs a display and says so in one line.
    EXPECT_EQ(runWith({QString::fromStdString(text)}, errors), 1);
    EXPECT_EQ(errors.count(QLatin1Char('\n')), 1) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("no display"))) << errors.toStdString();
}

} // namespace picture_export_test
