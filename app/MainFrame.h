#pragma once

#include <map>
#include <vector>

#include <QMainWindow>

#include "views/CommandTable.h"
#include "app/MenuResources.h"

class CKestrinApp;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The main window: the document windows in a multi-document area, the menu
// bar (one set while no document is open, another for an open document), the
// toolbar, and the status bar with its message pane and key indicators.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(CKestrinApp& app);
    ~CMainFrame() override;

    // Builds the toolbar, the status bar and the menus.
    bool Create();

    QMdiArea* MdiArea() const { return m_mdiArea; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The active document window, or the topmost one while the application
    // is not focused; null without windows.
    QMdiSubWindow* ActiveSubWindow() const;
    // The menus of the set now in the menu bar.
    QList<QMenu*> CurrentMenus() const;
    bool ShowsDocumentMenus() const { return m_bDocumentMenus; }
    // Every menu item and toolbar button of a command.
    QList<QAction*> ActionsFor(int id) const;
    QAction* ToolbarAction(int id) const;
    // The key indicators: "CAP", "NUM", "SCRL".
    QList<QLabel*> Indicators() const { return m_indicators; }
    // The readout of the values under the pointer, left of the indicators;
    // hidden while it is empty.
    QLabel* Readout() const { return m_readout; }
    QLabel* EstimateWarning() const { return m_estimateWarning; }

    // Shows the lock keys as the keyboard has them, where it can be asked;
    // at start-up and whenever the application becomes active.
    void ShowLockKeys();

    // Runs a command: the application's own, or the active view's.
    void OnCommand(int id);

public slots:
    // Enables and checks every item and button by the rules of its command.
    void UpdateCommandUi();
    void UpdateMenuSet();
    void UpdateRecentFileMenu();
    void UpdateTitle();
    // The Window menu ends with one entry per document window, the active
    // one checked.
    void UpdateWindowList();
    // Shows the text in the readout; empty hides it.
    void ShowReadout(const QString& text);
    // Shows what the active window's estimate must be read with; hidden
    // when nothing (or no window).
    void UpdateEstimateWarning();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The frame's part of the command table: the enable and check rule (none:
    // always enabled) and the handler of each command the frame runs itself
    // (FrameCommands.cpp). The view's part is in views/ViewCommands.cpp.
    struct CFrameCommand
    {
        int id;
        CCommandState (*state)(const CMainFrame&);
        void (*run)(CMainFrame&);
    };
    static const std::vector<CFrameCommand>& FrameCommands();
    static const CFrameCommand* FindFrameCommand(int id);

    struct CRecentAnchor
    {
        QMenu* menu = nullptr;
        QAction* before = nullptr; // the separator after the list
        std::vector<QAction*> items;
    };

    QAction* MakeAction(const char* text, int id, const char* shortcut);
    QMenu* BuildMenu(const char* title, const std::vector<CMenuItem>& items);
    void BuildMenuSet(const std::vector<CMenuDef>& defs, std::vector<QMenu*>& menus);
    void BuildToolBar();
    void BuildStatusBar();
    void RegisterAction(int id, QAction* action);
    void ApplyState(int id, QAction* action);
    void OnArrangeIcons();
    void OnStatusMessageChanged(const QString& text);
    void ShowIndicators();

    CKestrinApp& m_app;
    QMdiArea* m_mdiArea = nullptr;
    QToolBar* m_toolBar = nullptr;
    QList<QLabel*> m_indicators;
    QLabel* m_readout = nullptr;
    QLabel* m_estimateWarning = nullptr;
    std::vector<QMenu*> m_noDocMenus;
    std::vector<QMenu*> m_docMenus;
    bool m_bDocumentMenus = false;
    std::multimap<int, QAction*> m_actions;
    std::map<QString, QAction*> m_sharedActions;
    std::map<int, QAction*> m_toolbarActions;
    std::vector<CRecentAnchor> m_recentAnchors;
    QMenu* m_windowMenu = nullptr;
    std::vector<QAction*> m_windowListItems;
    bool m_bCaps = false;
    bool m_bNum = false;
    bool m_bScroll = false;
};
