// The window analyses as the user runs them in the workbench: sliding
// windows through their dialog and the green curve they draw, clearing them,
// moving the plot point, Meta H, the text export, and the two extractions
// that open new documents in windows of their own.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ChildFrame.h"
#include "analysis/ui/CorrelationDlg.h"
#include "views/CommandIds.h"
#include "tests/support/gui/DialogTestSupport.h"
#include "tests/support/gui/GuiTestSupport.h"
#include "app/KestrinApp.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "app/MainFrame.h"
#include "analysis/ui/MetaHParamsDlg.h"
#include "analysis/ui/PlotPointDlg.h"
#include "tests/support/gui/ScriptedQtUi.h"
#include "analysis/ui/SelectRangeDlg.h"
#include "analysis/ui/SlidingWindowHDlg.h"
#include "analysis/ui/SlidingWindowsDlg.h"
#include "dialogs/BackgroundRun.h"
#include "analysis/ui/SlopeWindowsDlg.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gui/WorkbenchTest.h"

namespace analysis_commands_test {

namespace {

const QColor kGreen(0, 255, 0);
constexpr int kPoints = 400;
constexpr double kFirstYear = 1900.0;

class AnalysisCommands : public CWorkbenchTest
{
protected:
    void SetUp() override
    {
        CWorkbenchTest::SetUp();
        // X 1900, 1901, ...: a plot position is an offset from 1900. Y a
        // random walk, so that every window has its own H.
        StartWithRandomWalk(kPoints, kFirstYear, 11);
        if (HasFatalFailure())
            return;
        m_doc->m_strDatabase = "levels.mdb";
        m_doc->m_strTable = "Nile";
        m_doc->m_strXField = "Year";
        m_doc->m_strYField = "Level";
        m_doc->UpdateAllViews(nullptr);
        m_doc->SetModifiedFlag(false);
    }
    // The menu item of a command, as the menus and toolbar were last updated.
    QAction* Action(int id) { return Frame().ActionsFor(id).value(0); }

    // "Set Sliding Windows" with the given width and spacing and "Use Best".
    void SlidingWindows(const char* width, const char* spacing)
    {
        const bool shown = RunModal<CSlidingWindowsDlg>([&] { Frame().OnCommand(cmd::SetSlidingWindows); },
                                                        [&](CSlidingWindowsDlg& dlg) {
                                                            Type(Control<QLineEdit>(dlg, "edit1049"), width);
                                                            Type(Control<QLineEdit>(dlg, "edit1050"), spacing);
                                                            Click(Control<QPushButton>(dlg, "button1"));
                                                        });
        ASSERT_TRUE(shown);
    }

    // The H graph's rectangle of the view as the screen shows it.
    QImage ShownHGraph(CKestrinView& view)
    {
        return RenderWidget(view).copy(view.HGraph().geometry());
    }

    static int CountColour(const QImage& image, const QColor& colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += PixelAt(image, x, y) == colour;
        return n;
    }

    static int LeftmostColumn(const QImage& image, const QColor& colour)
    {
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (PixelAt(image, x, y) == colour)
                    return x;
        return -1;
    }

    TempDir m_dir;
};

std::string ReadText(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

double FreshH(const CSeriesArray& points, int first, int count, int nD, int nM)
{
    CHDataSet set({.nD = nD, .nM = nM});
    set.m_bAutoCompute = 0;
    for (int i = first; i < first + count; ++i)
        set.AddValue(points[i].m_dY);
    set.Compute();
    return set.GetH();
}

} // namespace

TEST_F(AnalysisCommands, SlidingWindowsFromTheDialogDrawTheCurveAndEnableTheirCommands)
{
    for (int id : {cmd::ClearSlidingWindows, cmd::ViewMetaHData, cmd::ExtractHDataDocument, cmd::ExtractHDataText})
        EXPECT_FALSE(Action(id)->isEnabled()) << id;
    EXPECT_EQ(CountColour(ShownHGraph(*m_view), kGreen), 0);

    // Cancel computes nothing.
    RunModal<CSlidingWindowsDlg>([&] { Action(cmd::SetSlidingWindows)->trigger(); },
                                 [](CSlidingWindowsDlg& dlg) { Click(Control<QPushButton>(dlg, "button2")); });
    EXPECT_TRUE(m_doc->m_windows.IsEmpty());
    EXPECT_FALSE(m_doc->IsModified());

    // Width 100, spacing 10 over 400 points: windows start at 0, 10, ...,
    // 290 (290 + 100 < 400, 300 + 100 is not). "Use Value" with M 5 and D 3
    // tells a swap of M and D apart.
    const bool shown = RunModal<CSlidingWindowsDlg>([&] { Action(cmd::SetSlidingWindows)->trigger(); },
                                                    [](CSlidingWindowsDlg& dlg) {
                                                        Type(Control<QLineEdit>(dlg, "edit1049"), "100");
                                                        Type(Control<QLineEdit>(dlg, "edit1050"), "10");
                                                        Click(Control<QRadioButton>(dlg, "radio1052"));
                                                        Type(Control<QLineEdit>(dlg, "edit1053"), "5");
                                                        Type(Control<QLineEdit>(dlg, "edit1055"), "3");
                                                        Click(Control<QPushButton>(dlg, "button1"));
                                                    });
    ASSERT_TRUE(shown);
    // The view was repainted before the command returned: the H graph's
    // paint came after the computation's texts.
    const std::vector<std::string> paintTexts = {"Generating H Graph...", "Ready"};
    ASSERT_GE(m_ui->statusTexts.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(m_ui->statusTexts.end() - 2, m_ui->statusTexts.end()), paintTexts);
    EXPECT_NE(std::find(m_ui->statusTexts.begin(), m_ui->statusTexts.end(), "Calculating Sliding Windows (0 %)"),
              m_ui->statusTexts.end());
    ASSERT_EQ(m_doc->m_windows.GetSize(), 30);
    EXPECT_EQ(m_doc->m_nSpacing, 10);
    EXPECT_EQ(m_view->WindowState().m_nWindowWidth, 100);
    EXPECT_TRUE(m_doc->IsModified());
    for (int k : {0, 17, 29}) {
        const CHPoint& result = m_doc->m_windows[k];
        EXPECT_EQ(result.m_nCount, 100) << k;
        EXPECT_DOUBLE_EQ(result.m_dX, 50.0 + 10 * k) << k;
        const double expected = FreshH(m_doc->m_points, 10 * k, 100, 3, 5);
        EXPECT_NEAR(result.m_dY, expected, 1e-12 * std::max(1.0, std::fabs(expected))) << k;
    }

    // The menus follow at once, without another update from outside.
    for (int id : {cmd::ClearSlidingWindows, cmd::ViewMetaHData, cmd::ExtractHDataDocument, cmd::ExtractHDataText})
        EXPECT_TRUE(Action(id)->isEnabled()) << id;
    EXPECT_FALSE(Action(cmd::Correlation)->isEnabled());

    // The green curve starts at the first result's column: plot position 50
    // from 1900 is X 1950.
    const QImage image = ShownHGraph(*m_view);
    EXPECT_GT(CountColour(image, kGreen), 100);
    const QRect client(QPoint(0, 0), m_view->HGraph().size());
    EXPECT_EQ(LeftmostColumn(image, kGreen), m_view->SlidingResultToPixel(client, m_doc->m_windows[0]).x);
    EXPECT_EQ(m_view->ValueToPixel(client, 1950.0, 0.0).x, m_view->SlidingResultToPixel(client, m_doc->m_windows[0]).x);
}

// "Interval band" is off at first; ticked, the windows come with their band
// (the bootstrap's remembered replicates), drawn in light green, and the
// choice is remembered until it is unticked.
TEST_F(AnalysisCommands, IntervalBandFromTheDialogIsRemembered)
{
    QSettings().setValue(kBootstrapReplicatesKey, 20);
    const auto run = [&](bool tick) {
        bool wasChecked = false;
        const bool shown = RunModal<CSlidingWindowsDlg>([&] { Frame().OnCommand(cmd::SetSlidingWindows); },
                                                        [&](CSlidingWindowsDlg& dlg) {
                                                            auto* box = Control<QCheckBox>(dlg, "checkIntervalBand");
                                                            wasChecked = box->isChecked();
                                                            if (box->isChecked() != tick)
                                                                Click(box);
                                                            Type(Control<QLineEdit>(dlg, "edit1049"), "100");
                                                            Type(Control<QLineEdit>(dlg, "edit1050"), "10");
                                                            Click(Control<QPushButton>(dlg, "button1"));
                                                        });
        EXPECT_TRUE(shown);
        return wasChecked;
    };
    const auto bandPixels = [&] {
        const QImage image = ShownHGraph(*m_view);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = PixelAt(image, x, y);
                n += c.green() > c.red() + 20 && c.red() == c.blue() && c.red() > 150;
            }
        return n;
    };
    EXPECT_FALSE(run(true));
    ASSERT_TRUE(m_doc->m_band);
    EXPECT_EQ(m_doc->m_band->windows.size(), 30u);
    EXPECT_EQ(m_doc->m_band->replicates, 20);
    EXPECT_TRUE(QSettings().value(kIntervalBandKey).toBool());
    EXPECT_GT(bandPixels(), 500);
    EXPECT_TRUE(run(false));
    EXPECT_FALSE(m_doc->m_band);
    EXPECT_EQ(bandPixels(), 0);
    EXPECT_FALSE(run(false));
    QSettings().remove(kBootstrapReplicatesKey);
}

TEST_F(AnalysisCommands, UseBestTakesTheRootOfTheWidthAndBadParametersKeepTheCurve)
{
    SlidingWindows("120", "7");
    // 120 + 7k < 400: k = 0..39.
    ASSERT_EQ(m_doc->m_windows.GetSize(), 40);
    const double expected = FreshH(m_doc->m_points, 7 * 39, 120, 6, 10);
    EXPECT_NEAR(m_doc->m_windows[39].m_dY, expected, 1e-12 * std::max(1.0, std::fabs(expected)));
    EXPECT_DOUBLE_EQ(m_doc->m_windows[39].m_dX, 7 * 39 + 60.0);

    // A negative width that got past the dialog is refused before the old
    // results go.
    const CHPointArray before = m_doc->m_windows;
    m_doc->SetModifiedFlag(false);
    m_ui->messages.clear();
    EXPECT_FALSE(m_view->ComputeSlidingWindows(-100, 1, {.nD = 6, .nM = 0}, true));
    EXPECT_EQ(m_ui->messages.size(), 1u);
    EXPECT_EQ(m_doc->m_windows.GetSize(), before.GetSize());
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(m_view->WindowState().m_nWindowWidth, 120);
}

TEST_F(AnalysisCommands, ClearAsksFirstAndKeepsTheResultsOnNo)
{
    SlidingWindows("100", "10");
    ASSERT_EQ(m_doc->m_windows.GetSize(), 30);
    m_doc->SetModifiedFlag(false);

    m_ui->messageAnswers = {MsgResult::no};
    Frame().OnCommand(cmd::ClearSlidingWindows);
    EXPECT_EQ(m_ui->messages, std::vector<std::string>{"Clear all sliding window data?"});
    EXPECT_EQ(m_doc->m_windows.GetSize(), 30);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_GT(CountColour(ShownHGraph(*m_view), kGreen), 0);

    m_ui->messageAnswers = {MsgResult::yes};
    Frame().OnCommand(cmd::ClearSlidingWindows);
    EXPECT_EQ(m_ui->messages.size(), 2u);
    EXPECT_TRUE(m_doc->m_windows.IsEmpty());
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(CountColour(ShownHGraph(*m_view), kGreen), 0);
    for (int id : {cmd::ClearSlidingWindows, cmd::ViewMetaHData, cmd::ExtractHDataDocument, cmd::ExtractHDataText})
        EXPECT_FALSE(Action(id)->isEnabled()) << id;
}

TEST_F(AnalysisCommands, PlotPointDialogMovesEveryResultAndTheCurve)
{
    SlidingWindows("100", "10");
    const QRect client(QPoint(0, 0), m_view->HGraph().size());
    const int before = LeftmostColumn(ShownHGraph(*m_view), kGreen);

    int opened = -1;
    m_ui->statusTexts.clear();
    const bool shown = RunModal<CPlotPointDlg>([&] { Frame().OnCommand(cmd::SetPlotPoint); },
                                               [&](CPlotPointDlg& dlg) {
                                                   auto* slider = dlg.findChild<QSlider*>();
                                                   ASSERT_NE(slider, nullptr);
                                                   opened = slider->value();
                                                   for (int i = 0; i < 25; ++i)
                                                       QTest::keyClick(slider, Qt::Key_Left);
                                                   Click(Control<QPushButton>(dlg, "button1"));
                                               });
    ASSERT_TRUE(shown);
    EXPECT_EQ(opened, 50);
    // Repainted before the command returned, after the reset's texts.
    ASSERT_GE(m_ui->statusTexts.size(), 4u);
    EXPECT_EQ(m_ui->statusTexts.front(), "Resetting plot points...");
    EXPECT_EQ(std::vector<std::string>(m_ui->statusTexts.end() - 2, m_ui->statusTexts.end()),
              (std::vector<std::string>{"Generating H Graph...", "Ready"}));
    EXPECT_DOUBLE_EQ(m_view->WindowState().m_dPlotPoint, 0.25);
    ASSERT_EQ(m_doc->m_windows.GetSize(), 30);
    for (int i = 0; i < 30; ++i)
        EXPECT_DOUBLE_EQ(m_doc->m_windows[i].m_dX, 25.0 + 10 * i) << i;
    // Repainted at once: the curve now starts 25 points further left.
    const int after = LeftmostColumn(ShownHGraph(*m_view), kGreen);
    EXPECT_EQ(after, m_view->ValueToPixel(client, 1925.0, 0.0).x);
    EXPECT_LT(after, before);

    // The next dialog opens at the new point; Cancel leaves it.
    RunModal<CPlotPointDlg>([&] { Frame().OnCommand(cmd::SetPlotPoint); },
                            [&](CPlotPointDlg& dlg) {
                                opened = dlg.findChild<QSlider*>()->value();
                                QTest::keyClick(dlg.findChild<QSlider*>(), Qt::Key_Right);
                                Click(Control<QPushButton>(dlg, "button2"));
                            });
    EXPECT_EQ(opened, 25);
    EXPECT_DOUBLE_EQ(m_view->WindowState().m_dPlotPoint, 0.25);
    EXPECT_DOUBLE_EQ(m_doc->m_windows[1].m_dX, 35.0);
}

TEST_F(AnalysisCommands, MetaHShowsTheEstimateOverTheResults)
{
    SlidingWindows("100", "10");
    ASSERT_EQ(m_doc->m_windows.GetSize(), 30);
    m_doc->SetModifiedFlag(false);

    // "Use Best M": M is the number of results itself.
    QString n;
    bool result = RunModal<CSlidingWindowHDlg>(
        [&] {
            RunModal<CMetaHParamsDlg>([&] { Frame().OnCommand(cmd::ViewMetaHData); },
                                      [](CMetaHParamsDlg& dlg) { Click(Control<QPushButton>(dlg, "button1")); });
        },
        [&](CSlidingWindowHDlg& dlg) {
            n = Control<QLineEdit>(dlg, "edit1070")->text();
            EXPECT_EQ(dlg.m_pDataSet, &m_view->WindowState().m_metaHSet);
            Click(Control<QPushButton>(dlg, "button1"));
        });
    ASSERT_TRUE(result);
    EXPECT_EQ(n, "30");
    const CHDataSet& set = m_view->WindowState().m_metaHSet;
    EXPECT_EQ(m_view->WindowState().m_bMetaH, 1);
    EXPECT_EQ(set.GetCount(), 30);
    EXPECT_EQ(set.GetM(), 30);
    EXPECT_EQ(set.GetD(), 6);

    // "Set M At" 5 with D 3: the second run replaces the first.
    result = RunModal<CSlidingWindowHDlg>(
        [&] {
            RunModal<CMetaHParamsDlg>([&] { Frame().OnCommand(cmd::ViewMetaHData); },
                                      [](CMetaHParamsDlg& dlg) {
                                          Click(Control<QRadioButton>(dlg, "radio1074"));
                                          Type(Control<QLineEdit>(dlg, "edit1071"), "5");
                                          Type(Control<QLineEdit>(dlg, "edit1072"), "3");
                                          Click(Control<QPushButton>(dlg, "button1"));
                                      });
        },
        [&](CSlidingWindowHDlg& dlg) { Click(Control<QPushButton>(dlg, "button2")); });
    ASSERT_TRUE(result);
    EXPECT_EQ(set.GetM(), 5);
    EXPECT_EQ(set.GetD(), 3);
    EXPECT_EQ(set.GetCount(), 30);

    // Cancel in the parameters computes nothing and shows no result.
    result = RunModal<CSlidingWindowHDlg>(
        [&] {
            RunModal<CMetaHParamsDlg>([&] { Frame().OnCommand(cmd::ViewMetaHData); },
                                      [](CMetaHParamsDlg& dlg) { Click(Control<QPushButton>(dlg, "button2")); });
        },
        [](CSlidingWindowHDlg&) {});
    EXPECT_FALSE(result);
    EXPECT_EQ(set.GetM(), 5);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(AnalysisCommands, SlopeWindowsEnableTheCorrelationOfTheTwoCurves)
{
    SlidingWindows("100", "10");
    m_doc->SetModifiedFlag(false);
    EXPECT_FALSE(Action(cmd::Correlation)->isEnabled());

    const bool shown = RunModal<CSlopeWindowsDlg>([&] { Frame().OnCommand(cmd::SetSlopeWindows); },
                                                  [](CSlopeWindowsDlg& dlg) {
                                                      Type(Control<QLineEdit>(dlg, "edit1076"), "10");
                                                      Click(Control<QPushButton>(dlg, "button1"));
                                                  });
    ASSERT_TRUE(shown);
    // 10 + i < 400: 390 windows, each at its middle.
    ASSERT_EQ(m_doc->m_slopes.GetSize(), 390);
    EXPECT_EQ(m_doc->m_slopes[0].m_dX, 5.0);
    EXPECT_EQ(m_doc->m_slopes[389].m_dX, 394.0);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(Action(cmd::Correlation)->isEnabled());

    // The dialog works on the document's own results from the series' start.
    QString matches;
    RunModal<CCorrelationDlg>([&] { Frame().OnCommand(cmd::Correlation); },
                              [&](CCorrelationDlg& dlg) {
                                  EXPECT_EQ(dlg.m_dOrigin, kFirstYear);
                                  EXPECT_EQ(dlg.m_pHResults, &m_doc->m_windows);
                                  EXPECT_EQ(dlg.m_pSlopes, &m_doc->m_slopes);
                                  Click(Control<QPushButton>(dlg, "button1082"));
                                  matches = Control<QLineEdit>(dlg, "edit1081")->text();
                                  Click(Control<QPushButton>(dlg, "button2"));
                              });
    // Every plot position 50, 60, ..., 340 has its slope window.
    EXPECT_EQ(matches, "30");
    EXPECT_EQ(m_doc->m_windows.GetSize(), 30);
    EXPECT_EQ(m_doc->m_slopes.GetSize(), 390);
}

TEST_F(AnalysisCommands, HDataBecomesASecondDocumentInItsOwnWindow)
{
    SlidingWindows("100", "10");
    ASSERT_EQ(m_doc->m_windows.GetSize(), 30);
    m_doc->SetModifiedFlag(false);

    Frame().OnCommand(cmd::ExtractHDataDocument);
    ASSERT_EQ(m_app->Documents().size(), 2u);
    CKestrinDoc* target = m_app->Documents()[1].get();
    EXPECT_EQ(target->GetTitle(), "Kestrn2");
    EXPECT_TRUE(target->GetPathName().empty());
    EXPECT_TRUE(target->IsModified());
    ASSERT_EQ(m_app->FramesOf(target).size(), 1u);
    EXPECT_EQ(m_app->ActiveDocument(), target);
    EXPECT_EQ(Frame().windowTitle(), "Kestrin - Kestrn2");

    // One point per result at its position on the source's X axis; the view
    // shows H on 0..1.
    ASSERT_EQ(target->m_points.GetSize(), 30);
    EXPECT_DOUBLE_EQ(target->m_points[0].m_dX, 1950.0);
    EXPECT_DOUBLE_EQ(target->m_points[29].m_dX, 2240.0);
    EXPECT_EQ(target->m_points[3].m_dY, m_doc->m_windows[3].m_dY);
    EXPECT_EQ(target->m_bHSeries, 1);
    EXPECT_EQ(target->m_strXField, "H");
    EXPECT_EQ(target->m_strYField, "Series");
    EXPECT_EQ(target->m_nM, 5);
    CKestrinView* view = m_app->FramesOf(target)[0]->View();
    ASSERT_NE(view, m_view);
    EXPECT_EQ(view->GetPlotExtents().m_dYMin, 0.0);
    EXPECT_EQ(view->GetPlotExtents().m_dYMax, 1.0);
    EXPECT_EQ(view->GetPlotExtents().m_dXMin, 1950.0);
    EXPECT_EQ(view->GetPlotExtents().m_dXMax, 2240.0);
    // The new window's own commands: data, no results yet.
    EXPECT_TRUE(Action(cmd::SetSlidingWindows)->isEnabled());
    EXPECT_FALSE(Action(cmd::ClearSlidingWindows)->isEnabled());

    // The source is untouched.
    EXPECT_EQ(m_doc->m_windows.GetSize(), 30);
    EXPECT_EQ(m_doc->m_points.GetSize(), kPoints);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(m_app->FramesOf(m_doc).size(), 1u);
}

TEST_F(AnalysisCommands, ExtractDataTakesTheChosenRangeIntoANewWindow)
{
    // Cancel opens nothing.
    RunModal<CSelectRangeDlg>([&] { Frame().OnCommand(cmd::ExtractData); },
                              [](CSelectRangeDlg& dlg) { Click(Control<QPushButton>(dlg, "button2")); });
    EXPECT_EQ(m_app->Documents().size(), 1u);

    double shownMin = 0.0;
    double shownMax = 0.0;
    const bool shown = RunModal<CSelectRangeDlg>([&] { Frame().OnCommand(cmd::ExtractData); },
                                                 [&](CSelectRangeDlg& dlg) {
                                                     shownMin = dlg.m_dMin;
                                                     shownMax = dlg.m_dMax;
                                                     Type(Control<QLineEdit>(dlg, "edit1033"), "1950");
                                                     Type(Control<QLineEdit>(dlg, "edit1034"), "1999.5");
                                                     Click(Control<QPushButton>(dlg, "button1"));
                                                 });
    ASSERT_TRUE(shown);
    EXPECT_EQ(shownMin, 1900.0);
    EXPECT_EQ(shownMax, 1900.0 + kPoints - 1);
    ASSERT_EQ(m_app->Documents().size(), 2u);
    CKestrinDoc* target = m_app->Documents()[1].get();
    ASSERT_EQ(m_app->FramesOf(target).size(), 1u);
    EXPECT_EQ(m_app->ActiveDocument(), target);
    ASSERT_EQ(target->m_points.GetSize(), 50);
    EXPECT_EQ(target->m_points[0].m_dX, 1950.0);
    EXPECT_EQ(target->m_points[49].m_dX, 1999.0);
    EXPECT_EQ(target->m_points[0].m_dY, m_doc->m_points[50].m_dY);
    EXPECT_EQ(target->m_strXField, "Year");
    EXPECT_EQ(target->m_strTable, "Nile");
    EXPECT_EQ(target->m_bHSeries, 0);
    EXPECT_TRUE(target->IsModified());
    const CPlotExtents& e = m_app->FramesOf(target)[0]->View()->GetPlotExtents();
    EXPECT_EQ(e.m_dXMin, 1950.0);
    EXPECT_EQ(e.m_dXMax, 1999.0);
    EXPECT_EQ(m_doc->m_points.GetSize(), kPoints);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(AnalysisCommands, WithoutANewDocumentTheExtractionsDoNothing)
{
    SlidingWindows("100", "10");
    m_doc->SetModifiedFlag(false);
    m_view->SetNewDocumentFactory([] { return nullptr; });
    Frame().OnCommand(cmd::ExtractHDataDocument);
    RunModal<CSelectRangeDlg>([&] { Frame().OnCommand(cmd::ExtractData); },
                              [](CSelectRangeDlg& dlg) { Click(Control<QPushButton>(dlg, "button1")); });
    EXPECT_EQ(m_app->Documents().size(), 1u);
    EXPECT_EQ(m_app->ActiveView(), m_view);
    EXPECT_EQ(m_doc->m_windows.GetSize(), 30);
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(AnalysisCommands, TextExportWritesTheResultsOrSaysWhyNot)
{
    SlidingWindows("100", "10");
    ASSERT_EQ(m_doc->m_windows.GetSize(), 30);

    // Cancelling the file choice writes nothing.
    Frame().OnCommand(cmd::ExtractHDataText);
    ASSERT_EQ(m_ui->fileDialogs.size(), 1u);
    EXPECT_EQ(m_ui->fileDialogs[0].defaultExtension, ".txt");
    EXPECT_EQ(m_ui->fileDialogs[0].fileName, "*.txt");
    EXPECT_EQ(m_ui->fileDialogs[0].filter, "Text Files (*.txt)");
    EXPECT_TRUE(m_ui->fileDialogs[0].overwritePrompt);
    EXPECT_EQ(m_ui->fileDialogs[0].kind, "Exports");

    const std::string path = m_dir.File("results.txt");
    m_ui->saveChoices = {path};
    Frame().OnCommand(cmd::ExtractHDataText);
    const std::string text = ReadText(path);
    ASSERT_EQ(text.rfind("X\tY\tH\tr\tb\r\n", 0), 0u);
    // X on the series' axis; Y the first series value, though the first
    // window is plotted at position 50.
    const CHPoint& r0 = m_doc->m_windows[0];
    char first[200];
    std::snprintf(first, sizeof first, "1950.0000,%.4f,%.4f,%.4f,%.4f\r\n", m_doc->m_points[0].m_dY, r0.m_dY,
                  r0.m_dR, r0.m_dB);
    EXPECT_EQ(text.substr(11, std::string(first).size()), first);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 31);
    EXPECT_TRUE(m_ui->messages.empty());

    // A target that cannot be replaced (a directory holding a file): the user
    // is told, and what was there stays.
    const std::string blocked = m_dir.File("blocked.txt");
    std::filesystem::create_directory(blocked);
    WriteFile(blocked + "/kept.txt", "kept");
    m_ui->saveChoices = {blocked};
    Frame().OnCommand(cmd::ExtractHDataText);
    EXPECT_EQ(m_ui->messages.size(), 1u);
    EXPECT_EQ(ReadText(blocked + "/kept.txt"), "kept");
    // The earlier export is untouched too.
    EXPECT_EQ(ReadText(path), text);
}

TEST_F(AnalysisCommands, ProfileBecomesANewDocumentAndLeavesTheSourceAsItWas)
{
    m_doc->SetModifiedFlag(false);
    const CSeriesArray before = m_doc->m_points;
    ASSERT_TRUE(Action(cmd::Profile)->isEnabled());
    Frame().OnCommand(cmd::Profile);
    ASSERT_EQ(m_app->Documents().size(), 2u);
    CKestrinDoc* target = m_app->Documents()[1].get();
    EXPECT_EQ(m_app->ActiveDocument(), target);
    EXPECT_TRUE(target->IsModified());
    ASSERT_EQ(target->m_points.GetSize(), kPoints);
    double mean = 0.0;
    for (const CSeriesPoint& p : before)
        mean += p.m_dY;
    mean /= kPoints;
    EXPECT_EQ(target->m_points[0].m_dX, before[0].m_dX);
    EXPECT_EQ(target->m_points[0].m_dY, before[0].m_dY - mean);
    EXPECT_NEAR(target->m_points[kPoints - 1].m_dY, 0.0, 1e-6); // the departures sum to 0
    ASSERT_EQ(m_doc->m_points.GetSize(), kPoints);
    for (int i = 0; i < kPoints; ++i)
        EXPECT_EQ(m_doc->m_points[i].m_dY, before[i].m_dY) << i;
    EXPECT_FALSE(m_doc->IsModified());
}

} // namespace analysis_commands_test
