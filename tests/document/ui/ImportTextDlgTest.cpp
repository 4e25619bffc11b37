// The text import dialog on its own, and the import as the user runs it from
// the view: the dialog, the file choice, the document and the picture.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "views/CommandIds.h"
#include "platform/HeadlessUi.h"
#include "document/ui/ImportTextDlg.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "tests/support/gui/LegendReference.h"
#include "tests/support/TestSupport.h"

namespace import_text_dlg_test {

namespace {

template <class T>
T* Control(QWidget& dlg, const char* name)
{
    T* w = dlg.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// The controls of one dialog, by their ids.
struct Controls
{
    explicit Controls(QWidget& dlg)
        : ok(Control<QPushButton>(dlg, "button1")), cancel(Control<QPushButton>(dlg, "button2")),
          select(Control<QPushButton>(dlg, "button1063")), filter(Control<QCheckBox>(dlg, "check1066")),
          over(Control<QLineEdit>(dlg, "edit1064")), under(Control<QLineEdit>(dlg, "edit1065")),
          path(Control<QLineEdit>(dlg, "edit1062"))
    {
    }

    QPushButton* ok;
    QPushButton* cancel;
    QPushButton* select;
    QCheckBox* filter;
    QLineEdit* over;
    QLineEdit* under;
    QLineEdit* path;
};

void Type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void Click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

class ImportTextDlgTest : public ::testing::Test
{
protected:
    CHeadlessUi ui;
    CImportTextDlg dlg{ui};
};

} // namespace

TEST_F(ImportTextDlgTest, ControlsAndTheirPlaces)
{
    dlg.show();
    Controls c(dlg);
    EXPECT_EQ(dlg.windowTitle(), "Import Data from Text File");
    EXPECT_EQ(c.ok->text(), "OK");
    EXPECT_TRUE(c.ok->isDefault());
    EXPECT_EQ(c.cancel->text(), "Cancel");
    EXPECT_EQ(c.select->text(), "&Select File");
    EXPECT_EQ(c.filter->text(), "Filter Data");
    auto* group = dlg.findChild<QGroupBox*>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), "Min / Max");
    std::vector<QString> labels;
    for (QLabel* label : dlg.findChildren<QLabel*>())
        labels.push_back(label->text());
    EXPECT_EQ(labels, (std::vector<QString>{"Discard values over", "Discard values under"}));
    EXPECT_TRUE(c.path->isReadOnly());
    EXPECT_TRUE(c.over->alignment() & Qt::AlignRight);
    EXPECT_TRUE(c.under->alignment() & Qt::AlignRight);

    // OK and Cancel stacked right of the group, which holds the filter
    // controls; Select File below it; the path across the whole bottom.
    const QRect g = group->geometry();
    EXPECT_GT(c.ok->geometry().left(), g.right());
    EXPECT_LT(c.ok->geometry().bottom(), c.cancel->geometry().top());
    for (QWidget* w : std::vector<QWidget*>{c.filter, c.over, c.under})
        EXPECT_TRUE(g.contains(w->geometry())) << w->objectName().toStdString();
    EXPECT_LT(c.over->geometry().bottom(), c.under->geometry().top());
    EXPECT_GT(c.select->geometry().top(), g.bottom());
    EXPECT_GT(c.path->geometry().top(), c.select->geometry().bottom());
    EXPECT_EQ(c.path->geometry().left(), g.left());
    EXPECT_GE(c.path->geometry().right(), c.ok->geometry().right());
    EXPECT_LT(c.path->geometry().bottom(), dlg.height());
    // Every text fits its control.
    for (QLabel* label : dlg.findChildren<QLabel*>()) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        EXPECT_LE(label->geometry().right(), c.over->geometry().left());
    }
    for (QAbstractButton* b : std::vector<QAbstractButton*>{c.ok, c.cancel, c.select, c.filter})
        EXPECT_LE(b->sizeHint().width(), b->width()) << b->text().toStdString();

    // Only digits can be typed into the limits.
    Click(c.filter);
    Type(c.over, "1a2-3.5 ");
    EXPECT_EQ(c.over->text(), "1235");
}

TEST_F(ImportTextDlgTest, OpensWithTheMembers)
{
    dlg.m_nOver = 100;
    dlg.m_nUnder = -5;
    dlg.m_strPath = "/data/levels.txt";
    dlg.m_bFilter = 1;
    dlg.show();
    Controls c(dlg);
    EXPECT_EQ(c.over->text(), "100");
    EXPECT_EQ(c.under->text(), "-5");
    EXPECT_EQ(c.path->text(), "/data/levels.txt");
    EXPECT_TRUE(c.filter->isChecked());
    EXPECT_TRUE(c.over->isEnabled());
    EXPECT_TRUE(c.under->isEnabled());

    // Defaults: 0, 0, no path, no filter, the limits disabled.
    CImportTextDlg fresh(ui);
    fresh.show();
    Controls f(fresh);
    EXPECT_EQ(f.over->text(), "0");
    EXPECT_EQ(f.under->text(), "0");
    EXPECT_EQ(f.path->text(), "");
    EXPECT_FALSE(f.filter->isChecked());
    EXPECT_FALSE(f.over->isEnabled());
    EXPECT_FALSE(f.under->isEnabled());
}

TEST_F(ImportTextDlgTest, FilterDataEnablesTheLimits)
{
    dlg.show();
    Controls c(dlg);
    Click(c.filter);
    EXPECT_EQ(dlg.m_bFilter, 1);
    EXPECT_TRUE(c.over->isEnabled());
    EXPECT_TRUE(c.under->isEnabled());
    Type(c.over, "250");
    Type(c.under, "10");

    // Unchecking disables both limits; what was typed is kept.
    Click(c.filter);
    EXPECT_EQ(dlg.m_bFilter, 0);
    EXPECT_FALSE(c.over->isEnabled());
    EXPECT_FALSE(c.under->isEnabled());
    EXPECT_EQ(dlg.m_nOver, 250);
    EXPECT_EQ(dlg.m_nUnder, 10);
    EXPECT_EQ(c.over->text(), "250");
    EXPECT_EQ(c.under->text(), "10");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ImportTextDlgTest, FilterDataWithAnEmptyLimitIsRefused)
{
    dlg.m_nOver = 70;
    dlg.m_bFilter = 1;
    dlg.show();
    Controls c(dlg);
    Type(c.over, "");
    Click(c.filter);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Please enter an integer.");
    // The exchange stopped at the limit: the check box and the limit go back
    // to what was last read in full, and the limits stay enabled.
    EXPECT_EQ(dlg.m_bFilter, 1);
    EXPECT_TRUE(c.filter->isChecked());
    EXPECT_TRUE(c.over->isEnabled());
    EXPECT_EQ(c.over->text(), "70");
    EXPECT_EQ(dlg.focusWidget(), c.over);
}

TEST_F(ImportTextDlgTest, SelectFileKeepsWhatWasTyped)
{
    dlg.show();
    Controls c(dlg);
    Click(c.filter);
    Type(c.over, "70");
    Type(c.under, "");
    ui.openChoices.push_back(std::string("/home/ana/series 1.txt"));
    Click(c.select);

    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].defaultExtension, ".txt");
    EXPECT_EQ(ui.fileDialogs[0].fileName, "*.txt");
    EXPECT_EQ(ui.fileDialogs[0].filter, "");
    EXPECT_TRUE(ui.fileDialogs[0].overwritePrompt);
    EXPECT_EQ(ui.fileDialogs[0].kind, "Text Import");
    EXPECT_EQ(dlg.m_strPath, "/home/ana/series 1.txt");
    EXPECT_EQ(c.path->text(), "/home/ana/series 1.txt");
    EXPECT_EQ(c.over->text(), "70");
    EXPECT_EQ(c.under->text(), "");
    EXPECT_TRUE(c.filter->isChecked());
    EXPECT_TRUE(ui.messages.empty());

    // Cancelling the file choice keeps the path.
    Click(c.select);
    EXPECT_EQ(ui.fileDialogs.size(), 2u);
    EXPECT_EQ(dlg.m_strPath, "/home/ana/series 1.txt");
    EXPECT_EQ(c.path->text(), "/home/ana/series 1.txt");
}

TEST_F(ImportTextDlgTest, PathBytesSurviveTheDialog)
{
    // A file name that is not UTF-8 is shown readably but kept as chosen.
    const std::string chosen = "/data/r\xE9sultats.txt";
    dlg.show();
    Controls c(dlg);
    ui.openChoices.push_back(chosen);
    Click(c.select);
    EXPECT_EQ(c.path->text(), QString::fromUtf8("/data/r\xC3\xA9sultats.txt"));
    Click(c.ok);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strPath, chosen);
}

TEST_F(ImportTextDlgTest, OkNeedsWholeNumbers)
{
    dlg.show();
    Controls c(dlg);
    Click(c.filter);
    Type(c.over, "");
    Click(c.ok);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Please enter an integer.");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::ok);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::warning);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.focusWidget(), c.over);

    // Too large for an int: the same message, at the under limit.
    Type(c.over, "300");
    Type(c.under, "2147483648");
    Click(c.ok);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Please enter an integer.");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), c.under);

    // The largest int is fine; OK closes without a path (none is required).
    Type(c.under, "2147483647");
    Click(c.ok);
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_nOver, 300);
    EXPECT_EQ(dlg.m_nUnder, 2147483647);
    EXPECT_EQ(dlg.m_bFilter, 1);
    EXPECT_EQ(dlg.m_strPath, "");
}

TEST_F(ImportTextDlgTest, CancelReadsNothing)
{
    dlg.m_nOver = 9;
    dlg.show();
    Controls c(dlg);
    Click(c.filter);
    Type(c.over, "123");
    Click(c.cancel);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.m_nOver, 9);
}

// --- The import from the view ----------------------------------------------

namespace {

// Runs the view's import command, acting on its modal dialog with `act` as
// soon as it is open. A dialog that `act` leaves open is cancelled, so that
// a failing test cannot hang.
void RunImport(CKestrinView& view, const std::function<void(CImportTextDlg&, Controls&)>& act, bool* opened = nullptr)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<CImportTextDlg*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        poll.stop();
        seen = true;
        Controls controls(*dlg);
        act(*dlg, controls);
        if (dlg->isVisible()) {
            ADD_FAILURE() << "the import dialog is still open";
            dlg->reject();
        }
    });
    poll.start();
    EXPECT_TRUE(view.OnCommand(cmd::ImportTextFile));
    if (opened)
        *opened = seen;
    else
        EXPECT_TRUE(seen) << "no import dialog was shown";
}

// A legend rendering over white, and the labels it should show.
QImage RenderLegend(CLegend& legend)
{
    return RenderLegend(legend, qRgb(255, 255, 255));
}

QImage ExpectedLegend(CLegend& legend, const QString& xMin, const QString& xMax, const QString& yMin,
                      const QString& yMax)
{
    return ExpectedLegend(legend, LegendExtentLabels(legend, xMin, xMax, yMin, yMax, legend.width(), legend.height()),
                          qRgb(255, 255, 255));
}

std::vector<double> Coordinates(const CKestrinDoc& doc, bool x)
{
    std::vector<double> v;
    for (const CSeriesPoint& p : doc.m_points)
        v.push_back(x ? p.m_dX : p.m_dY);
    return v;
}

class ImportFromViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteFile(dir.File("levels.txt"), "12.6\n40\n57.2\r\n30\n");
        view = std::make_unique<CKestrinView>(doc);
        view->resize(480, 320);
        view->show();
        view->OnInitialUpdate();
    }

    // Imports levels.txt through the dialog, with or without the band
    // under 20, over 50.
    void ImportLevels(bool filter)
    {
        RunImport(*view, [&](CImportTextDlg&, Controls& c) {
            ui.openChoices.push_back(dir.File("levels.txt"));
            Click(c.select);
            if (filter) {
                Click(c.filter);
                Type(c.over, "50");
                Type(c.under, "20");
            }
            Click(c.ok);
        });
    }

    TempDir dir;
    CHeadlessUi ui;
    CKestrinDoc doc{ui};
    std::unique_ptr<CKestrinView> view;
};

} // namespace

TEST_F(ImportFromViewTest, ImportFillsTheDocumentAndThePicture)
{
    // Hidden, the series graph does not paint, so its mark for a fresh
    // drawing stays visible to the test.
    view->OnCommand(cmd::ShowSeriesGraph);
    view->SeriesGraph().m_bRegenerate = 0;
    ImportLevels(false);

    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(Coordinates(doc, true), (std::vector<double>{0, 1, 2, 3}));
    EXPECT_EQ(Coordinates(doc, false), (std::vector<double>{12.6, 40, 57.2, 30}));
    EXPECT_EQ(doc.m_bHasData, 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.m_globalSet.GetCount(), 4);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Loading Records from File...", "Ready"}));
    EXPECT_EQ(ui.m_waitDepth, 0);

    const CPlotExtents& e = view->GetPlotExtents();
    EXPECT_EQ(e.m_dXMin, 0.0);
    EXPECT_EQ(e.m_dXMax, 3.0);
    EXPECT_EQ(e.m_dYMin, 12.6);
    EXPECT_EQ(e.m_dYMax, 57.2);
    CLegend& legend = view->Legend();
    const CLegendData shown = view->LegendData();
    EXPECT_EQ(shown.extents.m_dXMin, 0.0);
    EXPECT_EQ(shown.extents.m_dXMax, 3.0);
    EXPECT_EQ(shown.extents.m_dYMin, 12.6);
    EXPECT_EQ(shown.extents.m_dYMax, 57.2);
    EXPECT_EQ(shown.leftTitle, "");
    EXPECT_EQ(shown.bottomTitle, "");
    EXPECT_EQ(RenderLegend(legend), ExpectedLegend(legend, "0", "3", "13", "57"));
    EXPECT_EQ(view->SeriesGraph().m_bRegenerate, 1);
    EXPECT_TRUE(view->GetCommandState(cmd::SetSlidingWindows).enabled);
}

TEST_F(ImportFromViewTest, BandPassesUnderThenOver)
{
    ImportLevels(true);
    // Only 40 and 30 lie strictly between 20 and 50; they are numbered
    // without gaps.
    EXPECT_EQ(Coordinates(doc, true), (std::vector<double>{0, 1}));
    EXPECT_EQ(Coordinates(doc, false), (std::vector<double>{40, 30}));
    CLegend& legend = view->Legend();
    EXPECT_EQ(RenderLegend(legend), ExpectedLegend(legend, "0", "1", "30", "40"));
}

TEST_F(ImportFromViewTest, FailedImportKeepsTheDocument)
{
    ImportLevels(false);
    doc.SetModifiedFlag(false); // as if saved
    const CSeriesArray before = doc.m_points;
    ui.statusTexts.clear();

    RunImport(*view, [&](CImportTextDlg&, Controls& c) {
        ui.openChoices.push_back(dir.File("missing.txt"));
        Click(c.select);
        Click(c.ok);
    });
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("missing.txt"), std::string::npos) << ui.messages[0].text;
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::error);
    EXPECT_EQ(ui.LastStatus(), "Ready");
    EXPECT_EQ(ui.m_waitDepth, 0);
    EXPECT_EQ(doc.m_points.GetSize(), before.GetSize());
    EXPECT_EQ(Coordinates(doc, false), (std::vector<double>{12.6, 40, 57.2, 30}));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_bHasData, 1);
    EXPECT_EQ(view->GetPlotExtents().m_dXMax, 3.0);
    EXPECT_EQ(view->LegendData().extents.m_dYMax, 57.2);
}

TEST_F(ImportFromViewTest, KeepingUnsavedChangesStopsTheImport)
{
    ImportLevels(false);
    ASSERT_TRUE(doc.IsModified());
    ui.saveAnswers.push_back(MsgResult::cancel);
    WriteFile(dir.File("other.txt"), "1\n2\n");
    RunImport(*view, [&](CImportTextDlg&, Controls& c) {
        ui.openChoices.push_back(dir.File("other.txt"));
        Click(c.select);
        Click(c.ok);
    });
    EXPECT_EQ(ui.savePrompts.size(), 1u);
    EXPECT_EQ(Coordinates(doc, false), (std::vector<double>{12.6, 40, 57.2, 30}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ImportFromViewTest, CancelChangesNothing)
{
    ImportLevels(false);
    doc.SetModifiedFlag(false);
    ui.statusTexts.clear();
    RunImport(*view, [&](CImportTextDlg&, Controls& c) {
        ui.openChoices.push_back(dir.File("levels.txt"));
        Click(c.select);
        Click(c.filter);
        Type(c.over, "1");
        Click(c.cancel);
    });
    EXPECT_EQ(Coordinates(doc, false), (std::vector<double>{12.6, 40, 57.2, 30}));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(ui.statusTexts.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.savePrompts.empty());
}

} // namespace import_text_dlg_test
