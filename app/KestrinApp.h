#pragma once

#include <memory>
#include <set>
#include <vector>

#include <QString>
#include <QStringList>

#include "app/QtUiServices.h"
#include "app/RecentFileList.h"

class CChildFrame;
class CHelpWindow;
class CKestrinDoc;
class CKestrinView;
class CMainFrame;

// The application: the open documents and their windows, the main window,
// the recent-file list, and the commands that act on documents as a whole.
class CKestrinApp
{
public:
    // Document template strings: new documents are titled "Kestrn1",
    // "Kestrn2", ...; files are "Kestrin Files (*.kst)".
    static constexpr const char* kDocName = "Kestrn";
    static constexpr const char* kFilter = "Kestrin Files (*.kst)";
    static constexpr const char* kExtension = ".kst";

    // ui: the user-interface services to use (tests script the answers);
    // null for the real dialogs.
    explicit CKestrinApp(std::unique_ptr<CQtUiServices> ui = nullptr);
    ~CKestrinApp();
    CKestrinApp(const CKestrinApp&) = delete;
    CKestrinApp& operator=(const CKestrinApp&) = delete;

    // Start-up: settings, the main window, then the command line (a document
    // to open, "--import-text FILE", or nothing for a new document). Returns
    // false when the program should end (the reason has been shown).
    bool InitInstance(const QStringList& arguments);

    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    CQtUiServices& Ui() { return *m_ui; }
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    const std::vector<std::unique_ptr<CKestrinDoc>>& Documents() const { return m_docs; }

    CChildFrame* ActiveFrame() const;
    CKestrinView* ActiveView() const;
    CKestrinDoc* ActiveDocument() const;
    std::vector<CChildFrame*> FramesOf(const CKestrinDoc* doc) const;

    // Document commands.
    CKestrinDoc* OnFileNew();
    void OnFileOpen();
    // Opens a document, or brings its window forward when it is open already.
    CKestrinDoc* OpenDocumentFile(const QString& path);
    CKestrinDoc* OnOpenRecentFile(int index);
    bool OnFileSave();
    bool OnFileSaveAs();
    bool OnFileClose();
    void OnWindowNew();
    void OnAppAbout();
    // Shows the manual's window, made at the first call.
    void OnHelpManual();
    CHelpWindow* HelpWindow() const { return m_helpWindow.get(); }
    // A new document filled from a text file, one number per line.
    CKestrinDoc* ImportTextIntoNewDocument(const QString& path);
    // Offers to save every modified document; false if the user cancels.
    bool SaveAllModified();
    // Closes every window and document without asking.
    void CloseAllDocuments();

    // View > Axis Scales: ticks, numbers, a grid and an H scale on every
    // document window's picture. Off by default; remembered in the settings.
    bool AxisScales() const { return m_bAxisScales; }
    void SetAxisScales(bool on);

    // Called by the child frames.
    bool CanCloseFrame(CChildFrame* frame);
    void OnFrameDestroyed(CKestrinDoc* doc);
    void UpdateFrameTitles(const CKestrinDoc* doc);

private:
    CKestrinDoc* CreateDocument();
    CChildFrame* CreateFrame(CKestrinDoc& doc);
    void DestroyDocument(CKestrinDoc* doc);
    void AddToRecentFileList(const std::string& path);
    bool CloseDocumentWindows(CKestrinDoc* doc);
    // Save (asking for a name only for a document without one) or Save As.
    bool SaveActiveDocument(bool askForName);

    std::unique_ptr<CQtUiServices> m_ui;
    CRecentFileList m_recentFiles;
    std::vector<std::unique_ptr<CKestrinDoc>> m_docs;
    std::set<const CKestrinDoc*> m_closing;
    int m_nUntitledCount = 0;
    bool m_bAxisScales = false;
    // Declared last: its windows go before the documents they show.
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<CHelpWindow> m_helpWindow;
};
