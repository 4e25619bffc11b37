// The application shell: menus, toolbar, status bar, the document commands
// (new, open, save, close, recent files) and the command line.
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <QScreen>
#include <gtest/gtest.h>

#include "app/ChildFrame.h"
#include "views/HRuler.h"
#include "app/CommandLine.h"
#include "app/HelpWindow.h"
#include "platform/HeadlessUi.h"
#include "views/CommandIds.h"
#include "app/KestrinApp.h"
#include "document/KestrinDoc.h"
#include "views/KestrinView.h"
#include "app/MainFrame.h"
#include "app/MenuResources.h"
#include "app/MdiArrange.h"
#include "tests/support/gui/ScriptedQtUi.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gui/WorkbenchTest.h"

namespace app_shell_test {

namespace {

const std::string kSample = std::string(KESTRIN_SAMPLES_DIR) + "/nile-minima-profile.txt";

// One line per item: "-" for a separator, "text|shortcut" for a command,
// "text>" then the submenu's items indented.
void Describe(const QMenu* menu, const QString& indent, QStringList& out)
{
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            out << indent + "-";
        } else if (a->menu()) {
            out << indent + a->text() + ">";
            Describe(a->menu(), indent + "  ", out);
        } else {
            QString line = indent + a->text();
            if (!a->shortcut().isEmpty())
                line += "|" + a->shortcut().toString();
            out << line;
        }
    }
}

// Lets closed windows finish going, as the event loop would.
void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

QStringList DescribeMenuBar(CMainFrame& frame)
{
    QStringList out;
    for (QMenu* m : frame.CurrentMenus()) {
        out << m->title();
        Describe(m, "  ", out);
    }
    return out;
}

// The bundled sample imported and saved as a document, outside the
// workbench.
bool SaveSampleDocument(const std::string& path)
{
    CHeadlessUi ui;
    CKestrinDoc doc(ui);
    return doc.ImportTextFile(kSample, 0, 0, false) && doc.OnSaveDocument(path);
}

class AppShell : public CWorkbenchTest
{
protected:
    QAction* Action(int id)
    {
        const auto actions = Frame().ActionsFor(id);
        for (QAction* a : actions)
            if (!Frame().ToolbarAction(id) || a != Frame().ToolbarAction(id))
                return a;
        return actions.isEmpty() ? nullptr : actions.first();
    }
    bool Enabled(int id)
    {
        Frame().UpdateCommandUi();
        return Action(id)->isEnabled();
    }
    bool Checked(int id)
    {
        Frame().UpdateCommandUi();
        return Action(id)->isChecked();
    }

    TempDir m_dir;
};

} // namespace

TEST_F(AppShell, StartsWithOneNewDocumentAndTheDocumentMenus)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    ASSERT_EQ(m_app->Documents().size(), 1u);
    EXPECT_EQ(m_app->Documents()[0]->GetTitle(), "Kestrn1");
    EXPECT_EQ(Frame().windowTitle(), "Kestrin - Kestrn1");
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Ready");

    const QStringList expected = {
        "&File",
        "  &New|Ctrl+N", "  &Open...|Ctrl+O", "  &Close", "  &Save|Ctrl+S", "  Save &As...", "  -",
        "  Expor&t Picture...", "  -", "  &Print...|Ctrl+P", "  Print Pre&view...", "  -",
        "  &Import Data>", "    &Text File", "    &Database Data",
        "  &Extract Data", "  &Profile", "  -", "  Recent File", "  -", "  E&xit",
        "&View",
        "  &Toolbar", "  Status &Bar", "  -", "  Show &Series Graph", "  Show &H Graph", "  Show &Legend",
        "  -", "  &Axis Scales", "  -", "  Zoom &Out", "  &Full View|Home",
        "H &Config",
        "  &Delete tab at...", "  Delete &All Tabs", "  Auto-&Tab", "  Tab &Settings", "  -",
        "  Set Sliding &Windows", "  Set P&lot Point", "  View &Meta H Data", "  &Clear Sliding Windows",
        "  &Extract H Data>", "    &Kestrin Data", "    Text &File", "  -",
        "  Co&rrelation Analysis>", "    Set &Slope Windows", "    &Correlation", "  -",
        "  H &Parameters",
        "&Window",
        "  &New Window", "  &Cascade", "  &Tile", "  &Arrange Icons",
        "&Help",
        "  &About Kestrin...",
        "  Kestrin &Help|F1",
    };
    EXPECT_EQ(DescribeMenuBar(Frame()), expected);
    // The menu bar shows exactly that set.
    QStringList bar;
    for (QAction* a : Frame().menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&View", "H &Config", "&Window", "&Help"}));
}

TEST_F(AppShell, ClosingTheLastDocumentShowsTheMenusWithoutADocument)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    ASSERT_TRUE(m_app->OnFileClose());
    Settle();
    EXPECT_TRUE(m_app->Documents().empty());
    EXPECT_FALSE(Frame().ShowsDocumentMenus());
    EXPECT_EQ(Frame().windowTitle(), "Kestrin");
    const QStringList expected = {
        "&File", "  &New|Ctrl+N", "  &Open...|Ctrl+O", "  -", "  Recent File", "  -", "  E&xit",
        "&View", "  &Toolbar", "  &Status Bar",
        "&Help", "  &About Kestrin...", "  Kestrin &Help|F1",
    };
    EXPECT_EQ(DescribeMenuBar(Frame()), expected);
    EXPECT_FALSE(Enabled(cmd::FileMru1)); // "Recent File" while the list is empty
    EXPECT_FALSE(Frame().ToolbarAction(cmd::FileSave)->isEnabled());
    EXPECT_FALSE(Frame().ToolbarAction(cmd::ShowSeriesGraph)->isEnabled());
}

TEST_F(AppShell, ToolbarStatusBarAndPrompts)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    QStringList buttons;
    for (QAction* a : Frame().ToolBar()->actions())
        buttons << (a->isSeparator() ? QString("-") : QString::number(a->data().toInt()));
    EXPECT_EQ(buttons, (QStringList{"57600", "57601", "57603", "-", "32774", "32775", "57664"}));
    EXPECT_EQ(Frame().ToolBar()->iconSize(), QSize(16, 15));
    for (QAction* a : Frame().ToolBar()->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().pixmap(QSize(16, 15)).isNull());
        }
    }

    QAction* series = Frame().ToolbarAction(cmd::ShowSeriesGraph);
    EXPECT_EQ(series->statusTip(), "Toggle the Series Graph");
    EXPECT_EQ(series->toolTip(), "Series Graph");
    EXPECT_EQ(Action(cmd::ImportTextFile)->statusTip(), "Import data from a text file");
    EXPECT_EQ(Action(cmd::ImportTextFile)->toolTip(), "Import Text File");
    EXPECT_EQ(Action(cmd::SetPlotPoint)->statusTip(), "Set Plot Point for Sliding Windows");
    EXPECT_EQ(Action(cmd::FileNew)->statusTip(), "Create a new document");

    QStringList indicators;
    for (QLabel* l : Frame().Indicators())
        indicators << l->property("indicatorText").toString();
    EXPECT_EQ(indicators, (QStringList{"CAP", "NUM", "SCRL"}));

    // A highlighted item's prompt shows in the message pane; "Ready" returns.
    QStatusTipEvent tip(Action(cmd::ShowLegend)->statusTip());
    QApplication::sendEvent(&Frame(), &tip);
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Toggle the Legend");
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(&Frame(), &none);
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Ready");
}

TEST_F(AppShell, LockKeyPanesShowTheKeyboardFromTheStartAndOnActivation)
{
    const auto panes = [this] {
        QStringList texts;
        for (QLabel* l : Frame().Indicators())
            texts << l->text();
        return texts.join('|');
    };
    const auto press = [this](Qt::Key key) { QTest::keyClick(Frame().windowHandle(), key); };
    m_ui->lockKeys = CLockKeyState{true, false, true};
    ASSERT_TRUE(m_app->InitInstance({}));
    EXPECT_EQ(panes(), "CAP||SCRL");

    struct Step
    {
        std::optional<CLockKeyState> keyboard;
        std::function<void()> act;
        const char* shown;
    };
    const auto activate = [] {
        QEvent event(QEvent::ApplicationActivate);
        QApplication::sendEvent(qApp, &event);
    };
    const Step steps[] = {
        // Changed while the program was not active: shown on its return.
        {CLockKeyState{false, true, false}, activate, "|NUM|"},
        // A press shows what the keyboard says, not a guess.
        {CLockKeyState{true, true, false}, [&] { press(Qt::Key_CapsLock); }, "CAP|NUM|"},
        {CLockKeyState{true, true, false}, [&] { press(Qt::Key_A); }, "CAP|NUM|"},
        // Where the keyboard cannot be asked, each press toggles once.
        {std::nullopt, [&] { press(Qt::Key_ScrollLock); }, "CAP|NUM|SCRL"},
        {std::nullopt, [&] { press(Qt::Key_NumLock); }, "CAP||SCRL"},
        {std::nullopt, activate, "CAP||SCRL"},
    };
    for (const Step& step : steps) {
        m_ui->lockKeys = step.keyboard;
        step.act();
        EXPECT_EQ(panes(), step.shown);
    }
}

TEST_F(AppShell, EnableAndCheckRulesForANewDocumentAndAfterAnImport)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    for (int id : {cmd::ImportTextFile, cmd::ImportDatabase, cmd::SetPlotPoint, cmd::ShowSeriesGraph,
                   cmd::ShowHGraph, cmd::ShowLegend, cmd::FileSave, cmd::FileClose, cmd::WindowNew})
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : {cmd::DeleteTabAt, cmd::DeleteAllTabs, cmd::TabSettings, cmd::AutoTab, cmd::SetSlidingWindows,
                   cmd::SetSlopeWindows, cmd::ExtractData, cmd::HParameters, cmd::ClearSlidingWindows,
                   cmd::ViewMetaHData, cmd::ExtractHDataDocument, cmd::ExtractHDataText, cmd::Correlation})
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : {cmd::ShowSeriesGraph, cmd::ShowHGraph, cmd::ShowLegend, cmd::ViewToolbar, cmd::ViewStatusBar})
        EXPECT_TRUE(Checked(id)) << id;

    CKestrinDoc* doc = m_app->ActiveDocument();
    ASSERT_TRUE(doc->ImportTextFile(kSample, 0, 0, false));
    doc->UpdateAllViews(nullptr);
    for (int id : {cmd::AutoTab, cmd::SetSlidingWindows, cmd::SetSlopeWindows, cmd::ExtractData, cmd::HParameters})
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : {cmd::DeleteTabAt, cmd::DeleteAllTabs, cmd::TabSettings, cmd::ClearSlidingWindows,
                   cmd::ViewMetaHData, cmd::ExtractHDataDocument, cmd::ExtractHDataText, cmd::Correlation})
        EXPECT_FALSE(Enabled(id)) << id;

    // Sliding-window results and slope results switch on their commands.
    doc->m_windows.Add(CHPoint{});
    EXPECT_TRUE(Enabled(cmd::ViewMetaHData));
    EXPECT_FALSE(Enabled(cmd::Correlation));
    doc->m_slopes.Add(CHPoint{});
    EXPECT_TRUE(Enabled(cmd::Correlation));

    // "Show &H Graph" hides the H graph and the ruler together; the check
    // follows the H graph.
    CKestrinView* view = m_app->ActiveView();
    Action(cmd::ShowHGraph)->trigger();
    EXPECT_FALSE(view->HGraph().isVisible());
    EXPECT_FALSE(view->Ruler().isVisible());
    EXPECT_FALSE(Checked(cmd::ShowHGraph));
    EXPECT_FALSE(Frame().ToolbarAction(cmd::ShowHGraph)->isChecked());
    Frame().ToolbarAction(cmd::ShowHGraph)->trigger();
    EXPECT_TRUE(view->HGraph().isVisible());
    EXPECT_TRUE(view->Ruler().isVisible());
    EXPECT_TRUE(Checked(cmd::ShowHGraph));
    Action(cmd::ShowLegend)->trigger();
    EXPECT_FALSE(view->Legend().isVisible());
    EXPECT_FALSE(Checked(cmd::ShowLegend));
    Action(cmd::ShowSeriesGraph)->trigger();
    EXPECT_FALSE(Checked(cmd::ShowSeriesGraph));
    EXPECT_TRUE(Checked(cmd::ShowHGraph));
}

TEST_F(AppShell, NewDocumentsAndWindowsAreTitledInTurn)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    m_app->OnFileNew();
    ASSERT_EQ(m_app->Documents().size(), 2u);
    EXPECT_EQ(m_app->Documents()[1]->GetTitle(), "Kestrn2");
    EXPECT_EQ(Frame().windowTitle(), "Kestrin - Kestrn2");
    // The second window cascades a step below and right of the first, whole
    // inside the area.
    const QList<QMdiSubWindow*> windows = Frame().MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(windows[0]->pos(), QPoint(0, 0));
    const int step = CascadeStep(*Frame().MdiArea());
    EXPECT_EQ(windows[1]->pos(), QPoint(step, step));
    EXPECT_TRUE(Frame().MdiArea()->viewport()->rect().contains(windows[1]->geometry()));

    CKestrinDoc* doc = m_app->ActiveDocument();
    ASSERT_TRUE(doc->ImportTextFile(kSample, 0, 0, false));
    doc->UpdateAllViews(nullptr);
    doc->m_windows.Add(CHPoint{});
    Frame().OnCommand(cmd::WindowNew);
    // The imported document is named for its file.
    auto frames = m_app->FramesOf(doc);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0]->windowTitle(), "nile-minima-profile.txt:1");
    EXPECT_EQ(frames[1]->windowTitle(), "nile-minima-profile.txt:2");
    EXPECT_EQ(frames[1]->View()->GetPlotExtents().m_dXMax, frames[0]->View()->GetPlotExtents().m_dXMax);

    // Closing one of two windows asks nothing and keeps the document whole.
    frames[1]->close();
    Settle();
    EXPECT_TRUE(m_ui->savePrompts.empty());
    ASSERT_EQ(m_app->FramesOf(doc).size(), 1u);
    EXPECT_EQ(m_app->FramesOf(doc)[0]->windowTitle(), "nile-minima-profile.txt");
    EXPECT_EQ(doc->m_windows.GetSize(), 1);
    EXPECT_TRUE(doc->IsModified());

    // The last window asks; Cancel keeps it open.
    m_ui->saveAnswers = {MsgResult::cancel};
    m_app->FramesOf(doc)[0]->close();
    Settle();
    EXPECT_EQ(m_ui->savePrompts, std::vector<std::string>{"nile-minima-profile.txt"});
    EXPECT_EQ(m_app->Documents().size(), 2u);
    // No: discarded and closed.
    m_ui->saveAnswers = {MsgResult::no};
    m_app->FramesOf(doc)[0]->close();
    Settle();
    EXPECT_EQ(m_app->Documents().size(), 1u);

    // Tile, cascade and arrange keep every window.
    Frame().OnCommand(cmd::WindowTile);
    Frame().OnCommand(cmd::WindowCascade);
    Frame().OnCommand(cmd::WindowArrange);
    EXPECT_EQ(Frame().MdiArea()->subWindowList().size(), 1);
}

TEST_F(AppShell, SavedDocumentReopensFromTheRecentFileListBitForBit)
{
    ASSERT_TRUE(m_app->InitInstance({"--import-text", QString::fromStdString(kSample)}));
    CKestrinDoc* doc = m_app->ActiveDocument();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->m_points.GetSize(), 663);
    EXPECT_EQ(m_ui->statusTexts.back(), "Ready");

    const std::string first = m_dir.File("nile.kst");
    m_ui->saveChoices = {first};
    Frame().OnCommand(cmd::FileSave);
    ASSERT_EQ(m_ui->fileDialogs.size(), 1u);
    EXPECT_EQ(m_ui->fileDialogs[0].filter, "Kestrin Files (*.kst)");
    EXPECT_EQ(m_ui->fileDialogs[0].defaultExtension, ".kst");
    // Named for the imported file, as a document.
    EXPECT_EQ(m_ui->fileDialogs[0].fileName, "nile-minima-profile.kst");
    EXPECT_EQ(m_ui->fileDialogs[0].kind, "Documents");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Frame().windowTitle(), "Kestrin - nile.kst");

    Frame().OnCommand(cmd::FileClose);
    Settle();
    EXPECT_TRUE(m_app->Documents().empty());

    // The list's first entry names the file; choosing it opens the document.
    EXPECT_EQ(m_app->RecentFiles().Files().value(0).toStdString(), first);
    QAction* entry = nullptr;
    for (QAction* a : Frame().ActionsFor(cmd::FileMru1))
        if (a->text().startsWith("&1 ") && a->text().endsWith("nile.kst"))
            entry = a;
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    ASSERT_EQ(m_app->Documents().size(), 1u);
    CKestrinDoc* reopened = m_app->ActiveDocument();
    EXPECT_EQ(reopened->GetTitle(), "nile.kst");
    EXPECT_EQ(reopened->m_points.GetSize(), 663);

    const std::string second = m_dir.File("again.kst");
    m_ui->saveChoices = {second};
    Frame().OnCommand(cmd::FileSaveAs);
    EXPECT_EQ(ReadFileBytes(second), ReadFileBytes(first));
    EXPECT_EQ(m_app->RecentFiles().Files().size(), 2);
    EXPECT_EQ(m_app->RecentFiles().Files().value(0).toStdString(), second);

    // The list survives in the settings for the next start.
    CRecentFileList stored;
    stored.Load();
    EXPECT_EQ(stored.Files(), m_app->RecentFiles().Files());
}

// A saved document's tabs come back on the ruler of its first window, each
// interval with its saved D and M; an import into it then leaves the file
// alone: Save asks for a name.
TEST_F(AppShell, OpenedDocumentShowsItsTabsAndAnImportIntoItSavesElsewhere)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    const std::string path = m_dir.File("tabbed.kst");
    std::vector<std::unique_ptr<CHDataSet>> intervals;
    {
        CHeadlessUi ui;
        CKestrinDoc doc(ui);
        ASSERT_TRUE(doc.ImportTextFile(kSample, 0, 0, false));
        const std::vector<CTabInterval> params = {{3, 5}, {4, 7}, {2, 4}};
        doc.SetTabs({400.5, 150.0}, &params);
        ASSERT_TRUE(doc.OnSaveDocument(path));
        intervals = std::move(doc.m_tabSets);
    }
    const std::vector<std::uint8_t> saved = ReadFileBytes(path);
    CKestrinDoc* doc = m_app->OpenDocumentFile(QString::fromStdString(path));
    ASSERT_NE(doc, nullptr);
    CHRuler& ruler = m_app->FramesOf(doc).front()->View()->Ruler();
    ASSERT_EQ(ruler.GetTabCount(), 2);
    const std::vector<CWindowTab>& tabs = m_app->FramesOf(doc).front()->View()->WindowState().m_tabs;
    EXPECT_EQ(tabs[0].value, 400.5);
    EXPECT_EQ(tabs[1].value, 150.0);
    EXPECT_EQ(m_app->FramesOf(doc).front()->View()->TabPositions(), (std::vector<std::int32_t>{150, 400}));
    ASSERT_EQ(doc->m_tabSets.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(doc->m_tabSets[i]->GetD(), intervals[i]->GetD());
        EXPECT_EQ(doc->m_tabSets[i]->GetM(), intervals[i]->GetM());
        EXPECT_EQ(doc->m_tabSets[i]->GetH(), intervals[i]->GetH());
    }
    EXPECT_FALSE(doc->IsModified());
    // A second window on the document starts with a bare ruler.
    Frame().OnCommand(cmd::WindowNew);
    EXPECT_EQ(m_app->FramesOf(doc).back()->View()->Ruler().GetTabCount(), 0);

    ASSERT_TRUE(doc->ImportTextFile(kSample, 0, 0, false));
    doc->UpdateAllViews(nullptr);
    EXPECT_EQ(Frame().windowTitle(), "Kestrin - nile-minima-profile.txt:2");
    m_ui->saveChoices = {m_dir.File("elsewhere.kst")};
    Frame().OnCommand(cmd::FileSave);
    ASSERT_EQ(m_ui->fileDialogs.size(), 1u);
    EXPECT_EQ(doc->GetPathName(), m_dir.File("elsewhere.kst"));
    EXPECT_EQ(ReadFileBytes(path), saved);
}

TEST_F(AppShell, RecentFileListKeepsFourAndDropsFilesThatAreGone)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    CKestrinDoc* doc = m_app->ActiveDocument();
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back(m_dir.File("doc" + std::to_string(i) + ".kst"));
        m_ui->saveChoices = {paths.back()};
        ASSERT_TRUE(m_app->OnFileSaveAs());
    }
    ASSERT_EQ(m_app->RecentFiles().Files().size(), 4);
    EXPECT_EQ(m_app->RecentFiles().Files().value(0).toStdString(), paths[4]);
    EXPECT_EQ(m_app->RecentFiles().Files().value(3).toStdString(), paths[1]);
    EXPECT_EQ(Frame().ActionsFor(cmd::FileMru1 + 3).size(), 2); // in both File menus

    std::filesystem::remove(paths[3]);
    EXPECT_EQ(m_app->OnOpenRecentFile(1), nullptr);
    ASSERT_EQ(m_ui->messages.size(), 1u);
    EXPECT_NE(m_ui->messages[0].find("doc3.kst"), std::string::npos);
    EXPECT_EQ(m_app->RecentFiles().Files().size(), 3);
    // Opening a document that is open already brings its window forward.
    EXPECT_EQ(m_app->OpenDocumentFile(QString::fromStdString(paths[4])), doc);
    EXPECT_EQ(m_app->Documents().size(), 1u);
}

TEST_F(AppShell, CommandLineDocumentOpensAndAMissingOneEndsStartUp)
{
    const std::string path = m_dir.File("start.kst");
    ASSERT_TRUE(SaveSampleDocument(path));
    ASSERT_TRUE(m_app->InitInstance({QString::fromStdString(path)}));
    ASSERT_EQ(m_app->Documents().size(), 1u);
    EXPECT_EQ(m_app->Documents()[0]->GetTitle(), "start.kst");
    EXPECT_EQ(m_app->Documents()[0]->m_points.GetSize(), 663);
    EXPECT_EQ(m_app->ActiveView()->GetPlotExtents().m_dXMax, 662.0);
}

namespace {

// What the workbench held when its main window first showed, and whether
// the window showed while a message was up.
class CStartUpWatch : public CScriptedQtUi, public QObject
{
public:
    CKestrinApp* app = nullptr;
    int shows = 0;
    std::size_t documentsAtShow = 0;
    int windowsAtShow = 0;
    std::vector<bool> shownAtMessage;

    MsgResult MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) override
    {
        shownAtMessage.push_back(app->MainFrame() && app->MainFrame()->isVisible());
        return CScriptedQtUi::MessageBox(text, buttons, icon);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == app->MainFrame() && shows++ == 0) {
            documentsAtShow = app->Documents().size();
            windowsAtShow = static_cast<int>(app->MainFrame()->MdiArea()->subWindowList().size());
        }
        return false;
    }
};

} // namespace

TEST_F(AppShell, StartUpOpensTheDocumentBeforeTheWindowShows)
{
    const std::string saved = m_dir.File("start.kst");
    ASSERT_TRUE(SaveSampleDocument(saved));
    WriteFile(m_dir.File("bad.kst"), "not a document");
    struct Case
    {
        QStringList arguments;
        bool starts;
        int messages;
    };
    const Case cases[] = {
        {{}, true, 0},
        {{QString::fromStdString(saved)}, true, 0},
        {{"--import-text", QString::fromStdString(kSample)}, true, 0},
        {{QString::fromStdString(m_dir.File("missing.kst"))}, false, 1},
        {{QString::fromStdString(m_dir.File("bad.kst"))}, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        auto ui = std::make_unique<CStartUpWatch>();
        CStartUpWatch* watch = ui.get();
        CKestrinApp app(std::move(ui));
        watch->app = &app;
        qApp->installEventFilter(watch);
        EXPECT_EQ(app.InitInstance(c.arguments), c.starts);
        qApp->removeEventFilter(watch);
        EXPECT_EQ(watch->messages.size(), static_cast<std::size_t>(c.messages));
        EXPECT_EQ(watch->shownAtMessage, std::vector<bool>(c.messages, false));
        EXPECT_EQ(watch->shows, c.starts ? 1 : 0);
        EXPECT_EQ(app.MainFrame() && app.MainFrame()->isVisible(), c.starts);
        if (c.starts) {
            EXPECT_EQ(watch->documentsAtShow, 1u);
            EXPECT_EQ(watch->windowsAtShow, 1);
            // Placed in the area as it is seen.
            QMdiArea* area = app.MainFrame()->MdiArea();
            EXPECT_TRUE(area->viewport()->rect().contains(area->subWindowList().front()->geometry()));
            EXPECT_EQ(area->subWindowList().front()->pos(), QPoint(0, 0));
        }
    }
}

TEST_F(AppShell, DroppedDocumentOpens)
{
    const std::string path = m_dir.File("dropped.kst");
    ASSERT_TRUE(SaveSampleDocument(path));
    ASSERT_TRUE(m_app->InitInstance({}));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    // Delivered to the window as the platform's drag and drop would.
    QObject* window = &Frame();
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    window->event(&enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    window->event(&drop);
    ASSERT_EQ(m_app->Documents().size(), 2u);
    EXPECT_EQ(m_app->ActiveDocument()->GetTitle(), "dropped.kst");
    EXPECT_EQ(m_app->ActiveDocument()->m_points.GetSize(), 663);
}

TEST_F(AppShell, ExitOffersToSaveEveryModifiedDocument)
{
    ASSERT_TRUE(m_app->InitInstance({"--import-text", QString::fromStdString(kSample)}));
    m_ui->saveAnswers = {MsgResult::cancel};
    EXPECT_FALSE(Frame().close());
    EXPECT_EQ(m_app->Documents().size(), 2u - 1u);
    EXPECT_EQ(m_ui->savePrompts.size(), 1u);

    const std::string path = m_dir.File("exit.kst");
    m_ui->saveAnswers = {MsgResult::yes};
    m_ui->saveChoices = {path};
    EXPECT_TRUE(Frame().close());
    Settle();
    EXPECT_TRUE(m_app->Documents().empty());
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(AppShell, WindowMenuListsTheWindowsAndActivatesOne)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    Frame().OnCommand(cmd::WindowNew);
    m_app->OnFileNew();
    Frame().UpdateWindowList();
    QMenu* window = Frame().CurrentMenus().value(3);
    ASSERT_NE(window, nullptr);
    QStringList items;
    for (QAction* a : window->actions())
        items << (a->isSeparator() ? QString("-") : a->text() + (a->isChecked() ? "*" : ""));
    EXPECT_EQ(items, (QStringList{"&New Window", "&Cascade", "&Tile", "&Arrange Icons", "-", "&1 Kestrn1:1",
                                  "&2 Kestrn1:2", "&3 Kestrn2*"}));
    window->actions().value(5)->trigger();
    EXPECT_EQ(Frame().windowTitle(), "Kestrin - Kestrn1:1");
}

// The active window's warnings on its estimate stay in the status bar while
// the messages come and go ("Ready" after the next drawing), follow the
// active window, and go with the last window.
TEST_F(AppShell, EstimateWarningStaysWithTheActiveWindow)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    QLabel* warning = Frame().EstimateWarning();
    ASSERT_NE(warning, nullptr);
    EXPECT_FALSE(warning->isVisibleTo(&Frame()));
    std::string values;
    for (int i = 0; i < 50; ++i)
        values += std::to_string((i * 37) % 11) + "\n";
    const std::string shortFile = m_dir.File("short.txt");
    { std::ofstream(shortFile) << values; }

    CKestrinDoc* shortDoc = m_app->ActiveDocument();
    ASSERT_TRUE(shortDoc->ImportTextFile(shortFile, 0, 0, false));
    shortDoc->UpdateAllViews(nullptr);
    const QString kShort = "Estimates from fewer than 128 values vary by 0.1 or more; use the bootstrap to see how far.";
    EXPECT_TRUE(warning->isVisibleTo(&Frame()));
    EXPECT_EQ(warning->toolTip(), kShort);
    EXPECT_TRUE(kShort.startsWith(warning->text().chopped(1))) << warning->text().toStdString();
    m_app->ActiveView()->resize(m_app->ActiveView()->size() + QSize(10, 10));
    m_app->ActiveView()->repaint();
    EXPECT_EQ(warning->toolTip(), kShort);

    // A second window on a long series has nothing to say; back to the
    // first, its warning shows again.
    m_app->OnFileNew();
    CKestrinDoc* longDoc = m_app->ActiveDocument();
    ASSERT_TRUE(longDoc->ImportTextFile(kSample, 0, 0, false));
    longDoc->UpdateAllViews(nullptr);
    EXPECT_FALSE(warning->isVisibleTo(&Frame()));
    QMdiArea* area = Frame().findChild<QMdiArea*>("mdiArea");
    area->setActiveSubWindow(area->subWindowList(QMdiArea::CreationOrder).value(0));
    EXPECT_EQ(warning->toolTip(), kShort);
    EXPECT_TRUE(warning->isVisibleTo(&Frame()));
    for (QMdiSubWindow* w : area->subWindowList())
        w->close();
    Settle();
    EXPECT_FALSE(warning->isVisibleTo(&Frame()));
}

namespace {

// A window that reports progress while its painter is open, as a long
// drawing may.
class CStatusWhilePainting : public QWidget
{
public:
    CStatusWhilePainting(IUiServices& ui, QWidget* parent) : QWidget(parent), m_ui(ui) {}
    int painted = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::red);
        m_ui.SetStatusText("Drawing...");
        painter.fillRect(QRect(0, 0, 5, 5), Qt::green);
        ++painted;
    }

private:
    IUiServices& m_ui;
};

} // namespace

TEST_F(AppShell, StatusTextDuringAPaintKeepsThePainter)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
    auto* widget = new CStatusWhilePainting(*m_ui, m_app->ActiveView());
    widget->setGeometry(0, 0, 20, 20);
    widget->show();
    widget->repaint();
    EXPECT_GT(widget->painted, 0);
    const QImage image = Frame().grab().toImage();
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Drawing...");
    const QPoint corner = widget->mapTo(&Frame(), QPoint(1, 1));
    EXPECT_EQ(QColor(image.pixel(corner)), QColor(Qt::green));
}

TEST(CommandLine, DocumentImportAndMistakes)
{
    EXPECT_EQ(ParseCommandLine({"a.kst"}).document, "a.kst");
    const CCommandLine import = ParseCommandLine({"--import-text", "series.txt"});
    EXPECT_EQ(import.importText, "series.txt");
    EXPECT_TRUE(import.document.isEmpty());
    EXPECT_TRUE(import.error.isEmpty());
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
    EXPECT_FALSE(ParseCommandLine({"--import-text"}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"--frobnicate"}).error.isEmpty());
    EXPECT_FALSE(ParseCommandLine({"a.kst", "b.kst"}).error.isEmpty());
}

// The manual: F1 opens it with its sections listed; every in-page link
// leads to an anchor that exists; every command of the menus is explained.
TEST_F(AppShell, ManualOpensWithItsSectionsAndEveryLinkResolves)
{
    ASSERT_TRUE(m_app->InitInstance({}));
    Settle();
    Frame().OnCommand(cmd::HelpManual);
    CHelpWindow* help = m_app->HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), "Kestrin Help");
    // Inside the screen, however small it is.
    const QRect frame = help->frameGeometry();
    EXPECT_TRUE(help->screen()->availableGeometry().contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();

    const QString html = CHelpWindow::ManualHtml();
    const QStringList ids = CHelpWindow::SectionIds(html);
    EXPECT_GE(ids.size(), 10);
    EXPECT_EQ(help->findChild<QListWidget*>()->count(), ids.size());
    QStringList anchors = ids;
    anchors << QStringLiteral("top");
    for (const QString& target : CHelpWindow::LinkTargets(html))
        EXPECT_TRUE(anchors.contains(target)) << target.toStdString();
    for (const QString& id : ids)
        EXPECT_TRUE(CHelpWindow::LinkTargets(html).contains(id)) << "not in the contents: " << id.toStdString();

    QStringList commands;
    const auto add = [&](const CMenuItem& item) {
        if (!item.IsSeparator())
            commands << QString::fromLatin1(item.text).remove('&').remove(QStringLiteral("..."));
    };
    for (const CMenuDef& menu : DocumentMenus())
        for (const CMenuItem& item : menu.items) {
            add(item);
            for (const CMenuItem& sub : item.items)
                add(sub);
        }
    for (const QString& command : commands) {
        if (!command.isEmpty()) {
            EXPECT_TRUE(html.contains(command)) << "not in the manual: " << command.toStdString();
        }
    }

    EXPECT_TRUE(help->Find(QStringLiteral("circulant embedding")));
    EXPECT_FALSE(help->Find(QStringLiteral("no such words in the manual")));
}

} // namespace app_shell_test
