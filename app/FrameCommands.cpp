// The commands the main frame runs itself: the application's file commands,
// the bars, the window arrangement and the help.
#include <algorithm>

#include <QStatusBar>
#include <QToolBar>

#include "app/KestrinApp.h"
#include "app/MainFrame.h"
#include "app/MdiArrange.h"

namespace {

CCommandState Checked(bool on)
{
    return CCommandState{true, true, on};
}

} // namespace

const std::vector<CMainFrame::CFrameCommand>& CMainFrame::FrameCommands()
{
    const auto withDocument = [](const CMainFrame& f) {
        return CCommandState{f.m_app.ActiveDocument() != nullptr, false, false};
    };
    static const std::vector<CFrameCommand> commands = {
        {cmd::FileNew, nullptr, [](CMainFrame& f) { f.m_app.OnFileNew(); }},
        {cmd::FileOpen, nullptr, [](CMainFrame& f) { f.m_app.OnFileOpen(); }},
        {cmd::FileClose, withDocument, [](CMainFrame& f) { f.m_app.OnFileClose(); }},
        {cmd::FileSave, withDocument, [](CMainFrame& f) { f.m_app.OnFileSave(); }},
        {cmd::FileSaveAs, withDocument, [](CMainFrame& f) { f.m_app.OnFileSaveAs(); }},
        {cmd::AppExit, nullptr, [](CMainFrame& f) { f.close(); }},
        {cmd::AppAbout, nullptr, [](CMainFrame& f) { f.m_app.OnAppAbout(); }},
        {cmd::HelpManual, nullptr, [](CMainFrame& f) { f.m_app.OnHelpManual(); }},
        {cmd::ViewToolbar, [](const CMainFrame& f) { return Checked(f.m_toolBar->isVisible()); },
         [](CMainFrame& f) { f.m_toolBar->setVisible(!f.m_toolBar->isVisible()); }},
        {cmd::ViewStatusBar, [](const CMainFrame& f) { return Checked(f.statusBar()->isVisible()); },
         [](CMainFrame& f) { f.statusBar()->setVisible(!f.statusBar()->isVisible()); }},
        {cmd::ViewAxisScales, [](const CMainFrame& f) { return Checked(f.m_app.AxisScales()); },
         [](CMainFrame& f) { f.m_app.SetAxisScales(!f.m_app.AxisScales()); }},
        {cmd::WindowNew, withDocument, [](CMainFrame& f) { f.m_app.OnWindowNew(); }},
        {cmd::WindowCascade, withDocument, [](CMainFrame& f) { CascadeWindows(*f.m_mdiArea); }},
        {cmd::WindowTile, withDocument, [](CMainFrame& f) { TileHorizontally(*f.m_mdiArea); }},
        {cmd::WindowArrange, withDocument, [](CMainFrame& f) { f.OnArrangeIcons(); }},
    };
    return commands;
}

const CMainFrame::CFrameCommand* CMainFrame::FindFrameCommand(int id)
{
    const std::vector<CFrameCommand>& all = FrameCommands();
    const auto it = std::find_if(all.begin(), all.end(), [id](const CFrameCommand& c) { return c.id == id; });
    return it == all.end() ? nullptr : &*it;
}
