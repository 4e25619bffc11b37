// The fit plot written out: the same three formats as the main picture, the
// file chosen through the UI services, a failure named with its file.
#include <string>

#include <QFile>
#include <QImage>
#include <QPushButton>
#include <gtest/gtest.h>

#include "tests/support/gui/DialogTestSupport.h"
#include "dialogs/FitPlotWnd.h"
#include "tests/support/gui/GuiTestSupport.h"
#include "platform/HeadlessUi.h"
#include "tests/support/TestSupport.h"

namespace fit_plot_export_test {

namespace {

CFitPlotData Fit()
{
    CFitPlotData data;
    data.label = "Global";
    data.x = {0.0, 0.30103, 0.47712};
    data.y = {2.0, 1.72, 1.55};
    data.b = -0.94;
    data.intercept = 2.0;
    data.h = 1.06;
    data.r = -0.999;
    data.n = 400;
    return data;
}

QByteArray ReadAll(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(FitPlotExport, SaveImageWritesPngSvgOrPdfAndNamesAFailure)
{
    CHeadlessUi ui;
    CFitPlotWnd wnd(ui);
    wnd.SetData(Fit());
    wnd.show();
    TempDir dir;
    const auto save = [&](const std::string& path) {
        ui.saveChoices.push_back(path);
        Click(Control<QPushButton>(wnd, "buttonSaveImage"));
        return ReadAll(path);
    };

    // The PNG is the plot as the window shows it.
    const QImage png = QImage::fromData(save(dir.File("fit.png")), "PNG");
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), RenderWidget(wnd.Plot()));
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].filter, "PNG Image (*.png);;SVG Drawing (*.svg);;PDF Document (*.pdf)");
    EXPECT_FALSE(ui.fileDialogs[0].allFilesFilter);
    EXPECT_EQ(ui.fileDialogs[0].kind, FileKind::exports);

    // Vector files keep their text as text.
    const QByteArray svg = save(dir.File("fit.svg"));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains(">log10 r<")) << svg.left(400).toStdString();
    EXPECT_TRUE(save(dir.File("fit.pdf")).startsWith("%PDF-"));
    EXPECT_TRUE(ui.messages.empty());

    // A folder that does not exist: nothing is written, the message names
    // the file and the reason.
    const std::string bad = dir.File("missing/fit.svg");
    EXPECT_TRUE(save(bad).isEmpty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("Cannot save the fit plot to " + bad + ": ", 0), 0u) << ui.messages[0].text;
    EXPECT_GT(ui.messages[0].text.size(), ("Cannot save the fit plot to " + bad + ": .").size());
}

} // namespace fit_plot_export_test
